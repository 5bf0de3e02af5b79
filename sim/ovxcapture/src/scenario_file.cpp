#include "scenario_file.h"

#include <cstdio>
#include <memory>

#include "scenario.h"

namespace ovxsim {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool ReadScenarioFile(const char* path, std::string& text, std::string& error) {
  text.clear();
  if (path == nullptr || *path == '\0') {
    error = "no file name";
    return false;
  }
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) {
    error = "cannot be opened";
    return false;
  }
  char buffer[4096];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    if (n == 0) {
      break;
    }
    if (text.size() + n > kMaxScenarioBytes) {
      text.clear();
      error = "longer than " + std::to_string(kMaxScenarioBytes) + " bytes";
      return false;
    }
    text.append(buffer, n);
  }
  if (std::ferror(file.get()) != 0) {
    text.clear();
    error = "cannot be read";
    return false;
  }
  return true;
}

std::string PrintablePath(const char* path) {
  constexpr std::size_t kShown = 200;
  std::string out;
  for (const char* p = path; p != nullptr && *p != '\0'; ++p) {
    if (out.size() >= kShown) {
      out += "...";
      break;
    }
    const auto byte = static_cast<unsigned char>(*p);
    out += byte < 0x20 || byte == 0x7F ? '?' : *p;
  }
  return out;
}

}  // namespace ovxsim
