#include "scenario.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace ovxsim {
namespace {

constexpr std::array<const char*, 5> kWatchdogFields = {"state", "interval", "err_count", "ovx_count",
                                                        "ovx_err"};

// Tokens shown in messages are cut, so that a message stays one short line.
std::string Quote(std::string_view token) {
  constexpr std::size_t kShown = 32;
  std::string out = "'";
  out.append(token.substr(0, kShown));
  if (token.size() > kShown) {
    out += "...";
  }
  out += "'";
  return out;
}

class LineParser {
 public:
  explicit LineParser(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
      }
      const std::size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
        ++i;
      }
      if (i > start) {
        tokens_.push_back(line.substr(start, i - start));
      }
    }
  }

  bool Empty() const { return tokens_.empty(); }
  bool AtEnd() const { return pos_ >= tokens_.size(); }
  std::string_view Peek() const { return AtEnd() ? std::string_view() : tokens_[pos_]; }
  std::string_view Next() { return AtEnd() ? std::string_view() : tokens_[pos_++]; }
  const std::string& Error() const { return error_; }

  bool Fail(std::string message) {
    if (error_.empty()) {
      error_ = std::move(message);
    }
    return false;
  }

  // Decimal or 0x-hexadecimal, with a minus sign only where min < 0.
  static bool ParseNumber(std::string_view text, int64_t min, int64_t max, int64_t& value) {
    bool negative = false;
    if (!text.empty() && text.front() == '-' && min < 0) {
      negative = true;
      text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      base = 16;
      text.remove_prefix(2);
    }
    if (text.empty()) {
      return false;
    }
    const uint64_t limit = negative ? static_cast<uint64_t>(-(min + 1)) + 1 : static_cast<uint64_t>(max);
    uint64_t magnitude = 0;
    bool too_big = false;
    for (char c : text) {
      unsigned digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
      } else if (base == 16 && c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
      } else if (base == 16 && c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
      } else {
        return false;
      }
      if (!too_big) {
        if (magnitude > (limit - digit) / base) {
          too_big = true;  // keep checking the remaining characters are digits
        } else {
          magnitude = magnitude * base + digit;
        }
      }
    }
    if (too_big) {
      value = negative ? min - 1 : max + 1;  // flagged as out of range below
      return true;
    }
    value = negative ? -static_cast<int64_t>(magnitude - 1) - 1 : static_cast<int64_t>(magnitude);
    return true;
  }

  bool Number(std::string_view token, const char* what, int64_t min, int64_t max, int64_t& value) {
    if (token.empty()) {
      return Fail(std::string("missing ") + what);
    }
    int64_t parsed = 0;
    if (!ParseNumber(token, min, max, parsed)) {
      return Fail("bad number " + Quote(token) + " for " + what);
    }
    if (parsed < min || parsed > max) {
      return Fail(std::string(what) + " " + Quote(token) + " out of range (" + std::to_string(min) + ".." +
                  std::to_string(max) + ")");
    }
    value = parsed;
    return true;
  }

  bool NextNumber(const char* what, int64_t min, int64_t max, int64_t& value) {
    return Number(Next(), what, min, max, value);
  }

  bool NextU32(const char* what, uint32_t& value) {
    int64_t v = 0;
    if (!NextNumber(what, 0, std::numeric_limits<uint32_t>::max(), v)) {
      return false;
    }
    value = static_cast<uint32_t>(v);
    return true;
  }

  bool NextEventSize(OvxEventSize& record) {
    int64_t w = 0;
    int64_t h = 0;
    if (!NextU32("event bits", record.event) || !NextNumber("width", 0, kMaxSize, w) ||
        !NextNumber("height", 0, kMaxSize, h)) {
      return false;
    }
    record.size.x = static_cast<int32_t>(w);
    record.size.y = static_cast<int32_t>(h);
    return true;
  }

  bool End() {
    if (!AtEnd()) {
      return Fail("unexpected " + Quote(Peek()));
    }
    return true;
  }

  // key=value; `key` and `value` point into the line.
  bool NextField(std::string_view& key, std::string_view& value) {
    const std::string_view token = Next();
    const std::size_t eq = token.find('=');
    if (eq == std::string_view::npos || eq == 0) {
      return Fail("expected name=value, found " + Quote(token));
    }
    key = token.substr(0, eq);
    value = token.substr(eq + 1);
    return true;
  }

  bool WatchdogFields(WatchdogChange& change) {
    if (AtEnd()) {
      return Fail("watchdog needs at least one of state=, interval=, err_count=, ovx_count=, ovx_err=");
    }
    while (!AtEnd()) {
      std::string_view key;
      std::string_view value;
      if (!NextField(key, value)) {
        return false;
      }
      std::size_t index = kWatchdogFields.size();
      for (std::size_t i = 0; i < kWatchdogFields.size(); ++i) {
        if (key == kWatchdogFields[i]) {
          index = i;
        }
      }
      if (index == kWatchdogFields.size()) {
        return Fail("unknown watchdog field " + Quote(key));
      }
      if ((change.mask & (1u << index)) != 0) {
        return Fail("watchdog field " + Quote(key) + " given twice");
      }
      int64_t v = 0;
      if (!Number(value, kWatchdogFields[index], 0, std::numeric_limits<uint32_t>::max(), v)) {
        return false;
      }
      change.mask |= 1u << index;
      uint32_t* fields[] = {&change.values.state, &change.values.interval, &change.values.err_count,
                            &change.values.ovx_count, &change.values.ovx_err};
      *fields[index] = static_cast<uint32_t>(v);
    }
    return true;
  }

  bool NextFunction(Function& f) {
    const std::string_view name = Next();
    if (name.empty()) {
      return Fail("missing function name");
    }
    const auto found = FunctionFromName(name);
    if (!found) {
      return Fail("unknown function " + Quote(name));
    }
    f = *found;
    return true;
  }

 private:
  std::vector<std::string_view> tokens_;
  std::size_t pos_ = 0;
  std::string error_;
};

bool ParseFail(LineParser& p, Scenario& s) {
  Injection inj;
  if (!p.NextFunction(inj.function)) {
    return false;
  }
  bool have_status = false;
  bool have_prop = false;
  bool have_from = false;
  bool have_count = false;
  bool have_after = false;
  while (!p.AtEnd()) {
    std::string_view key;
    std::string_view value;
    if (!p.NextField(key, value)) {
      return false;
    }
    int64_t v = 0;
    bool* seen = nullptr;
    if (key == "status") {
      seen = &have_status;
      if (!p.Number(value, "status", std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                    v)) {
        return false;
      }
      if (v == 0) {
        return p.Fail("status must not be 0");
      }
      inj.status = static_cast<int32_t>(v);
    } else if (key == "prop") {
      seen = &have_prop;
      if (!FunctionTakesPropertyId(inj.function)) {
        return p.Fail(std::string(FunctionName(inj.function)) + " takes no property id");
      }
      if (!p.Number(value, "prop", 0, std::numeric_limits<int32_t>::max(), v)) {
        return false;
      }
      inj.property_id = static_cast<int32_t>(v);
    } else if (key == "from") {
      seen = &have_from;
      if (!p.Number(value, "from", 1, std::numeric_limits<uint32_t>::max(), v)) {
        return false;
      }
      inj.from_call = static_cast<uint32_t>(v);
    } else if (key == "count") {
      seen = &have_count;
      if (!p.Number(value, "count", 0, std::numeric_limits<uint32_t>::max(), v)) {
        return false;
      }
      inj.count = static_cast<uint32_t>(v);
    } else if (key == "after") {
      seen = &have_after;
      if (value != "shown") {
        return p.Fail("after must be 'shown'");
      }
      inj.after_shown = true;
    } else {
      return p.Fail("unknown fail field " + Quote(key));
    }
    if (*seen) {
      return p.Fail("fail field " + Quote(key) + " given twice");
    }
    *seen = true;
  }
  if (!have_status) {
    return p.Fail("fail needs status=<n>");
  }
  if (s.injections.size() >= kMaxInjections) {
    return p.Fail("too many fail lines (at most " + std::to_string(kMaxInjections) + ")");
  }
  s.injections.push_back(inj);
  return true;
}

bool ParseAt(LineParser& p, Scenario& s) {
  TimedAction action;
  int64_t at = 0;
  if (!p.NextNumber("time", 0, static_cast<int64_t>(kMaxAtMs), at)) {
    return false;
  }
  action.at_ms = static_cast<uint64_t>(at);
  const std::string_view what = p.Next();
  if (what == "event" || what == "input") {
    action.kind = what == "event" ? TimedAction::Kind::Event : TimedAction::Kind::Input;
    if (!p.NextEventSize(action.input) || !p.End()) {
      return false;
    }
  } else if (what == "watchdog") {
    action.kind = TimedAction::Kind::Watchdog;
    if (!p.WatchdogFields(action.watchdog)) {
      return false;
    }
  } else if (what.empty()) {
    return p.Fail("at needs event, input or watchdog");
  } else {
    return p.Fail("unknown timed action " + Quote(what));
  }
  if (s.timeline.size() >= kMaxTimedActions) {
    return p.Fail("too many at lines (at most " + std::to_string(kMaxTimedActions) + ")");
  }
  s.timeline.push_back(action);
  return true;
}

bool ParseLine(LineParser& p, Scenario& s) {
  const std::string_view keyword = p.Next();
  if (keyword == "clock") {
    const std::string_view mode = p.Next();
    if (mode == "realtime") {
      s.clock = ClockMode::Realtime;
    } else if (mode == "manual") {
      s.clock = ClockMode::Manual;
    } else {
      return p.Fail(mode.empty() ? std::string("clock needs realtime or manual")
                                 : "unknown clock " + Quote(mode) + " (realtime or manual)");
    }
    return p.End();
  }
  if (keyword == "firmware") {
    if (!p.NextU32("firmware version", s.firmware.version_no)) {
      return false;
    }
    uint32_t* info[] = {&s.firmware.firminfo_1, &s.firmware.firminfo_2, &s.firmware.firminfo_3,
                        &s.firmware.firminfo_4, &s.firmware.firminfo_5, &s.firmware.firminfo_6,
                        &s.firmware.firminfo_7};
    for (uint32_t* field : info) {
      if (p.AtEnd()) {
        break;
      }
      if (!p.NextU32("firminfo", *field)) {
        return false;
      }
    }
    return p.End();
  }
  if (keyword == "api") {
    return p.NextU32("api version", s.api_version) && p.End();
  }
  if (keyword == "watchdog") {
    WatchdogChange change;
    if (!p.WatchdogFields(change)) {
      return false;
    }
    ApplyWatchdogChange(change, s.watchdog);
    return true;
  }
  if (keyword == "panel") {
    int64_t w = 0;
    int64_t h = 0;
    if (!p.NextNumber("width", 0, kMaxSize, w) || !p.NextNumber("height", 0, kMaxSize, h)) {
      return false;
    }
    s.output.size.x = static_cast<int32_t>(w);
    s.output.size.y = static_cast<int32_t>(h);
    return p.End();
  }
  if (keyword == "output") {
    return p.NextEventSize(s.output) && p.End();
  }
  if (keyword == "input") {
    return p.NextEventSize(s.input) && p.End();
  }
  if (keyword == "audio_delay") {
    int64_t v = 0;
    if (!p.NextNumber("audio delay", 0, kMaxAudioDelay, v)) {
      return false;
    }
    s.audio_delay = static_cast<int32_t>(v);
    return p.End();
  }
  if (keyword == "at") {
    return ParseAt(p, s);
  }
  if (keyword == "fail") {
    return ParseFail(p, s);
  }
  if (keyword == "delay") {
    Function f{};
    int64_t ms = 0;
    if (!p.NextFunction(f) || !p.NextNumber("delay", 0, kMaxDelayMs, ms)) {
      return false;
    }
    s.delays_ms[static_cast<std::size_t>(f)] = static_cast<uint32_t>(ms);
    return p.End();
  }
  return p.Fail("unknown keyword " + Quote(keyword));
}

std::string LineError(std::size_t line, const std::string& reason) {
  return "line " + std::to_string(line) + ": " + reason;
}

}  // namespace

void ApplyWatchdogChange(const WatchdogChange& change, OvxWatchdogInfo& target) {
  uint32_t* fields[] = {&target.state, &target.interval, &target.err_count, &target.ovx_count,
                        &target.ovx_err};
  const uint32_t values[] = {change.values.state, change.values.interval, change.values.err_count,
                             change.values.ovx_count, change.values.ovx_err};
  for (std::size_t i = 0; i < 5; ++i) {
    if ((change.mask & (1u << i)) != 0) {
      *fields[i] = values[i];
    }
  }
}

Scenario DefaultScenario() {
  Scenario s;
  s.firmware = {0x10020300u, 0x20240115u, 0x7E210B58u, 1u, 0u, 0u, 0u, 0u};
  s.api_version = 0x10010000u;
  s.watchdog = {1u, 2000u, 5u, 0u, 0u};
  s.output = {0u, {3840, 2560}};
  s.input = {OVX_EVENT_NO_INPUT, {0, 0}};
  s.audio_delay = 0;
  TimedAction arrival;
  arrival.kind = TimedAction::Kind::Event;
  arrival.at_ms = 500;
  arrival.input = {OVX_EVENT_INPUT_PRESENT, {1920, 1080}};
  s.timeline.push_back(arrival);
  return s;
}

ParseResult ParseScenario(std::string_view text) {
  ParseResult result;
  if (text.size() > kMaxScenarioBytes) {
    result.error = "longer than " + std::to_string(kMaxScenarioBytes) + " bytes";
    return result;
  }
  Scenario s = DefaultScenario();
  s.timeline.clear();
  std::size_t line_no = 0;
  while (!text.empty()) {
    ++line_no;
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line.size() > kMaxLineLength) {
      result.error = LineError(line_no, "longer than " + std::to_string(kMaxLineLength) + " characters");
      return result;
    }
    const std::size_t hash = line.find('#');
    if (hash != std::string_view::npos) {
      line = line.substr(0, hash);
    }
    for (char c : line) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && byte != '\t') || byte >= 0x7F) {
        char reason[48];
        std::snprintf(reason, sizeof reason, "unexpected character 0x%02X", static_cast<unsigned>(byte));
        result.error = LineError(line_no, reason);
        return result;
      }
    }
    LineParser p(line);
    if (p.Empty()) {
      continue;
    }
    if (!ParseLine(p, s)) {
      result.error = LineError(line_no, p.Error());
      return result;
    }
  }
  std::stable_sort(s.timeline.begin(), s.timeline.end(),
                   [](const TimedAction& a, const TimedAction& b) { return a.at_ms < b.at_ms; });
  result.scenario = std::move(s);
  return result;
}

}  // namespace ovxsim
