// The simulated board's event thread.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "board.h"
#include "process_exit.h"
#include "scenario_file.h"

namespace ovxsim {

uint64_t Board::EnqueueLocked(const OvxEventSize& record) {
  EnsureThreadLocked();
  const uint64_t ticket = next_ticket_++;
  queue_.push_back({ticket, record});
  changed_.notify_all();
  return ticket;
}

void Board::EnsureThreadLocked() {
  if (thread_.joinable()) {
    return;
  }
  const uint64_t generation = ++thread_generation_;
  thread_ = std::thread([this, generation] { EventLoop(generation); });
}

std::vector<std::thread> Board::StopThreadsLocked() {
  ++thread_generation_;
  queue_.clear();
  delivered_ticket_ = next_ticket_ - 1;  // waiters for dropped events return
  changed_.notify_all();
  std::vector<std::thread> stopped = std::move(retired_);
  retired_.clear();
  if (thread_.joinable()) {
    stopped.push_back(std::move(thread_));
  }
  if (on_event_thread) {
    // Called from inside a callback: that thread ends its loop when the
    // callback returns and is joined by a later stop.
    const auto self = std::this_thread::get_id();
    const auto it = std::find_if(stopped.begin(), stopped.end(),
                                 [&](const std::thread& t) { return t.get_id() == self; });
    if (it != stopped.end()) {
      retired_.push_back(std::move(*it));
      stopped.erase(it);
    }
  }
  return stopped;
}

void Board::DeliverLocked(std::unique_lock<std::mutex>& lock, const OvxEventSize& record) {
  const OvxEventCallback callback = callback_;
  if (callback == nullptr) {
    return;
  }
  ++in_callback_;
  lock.unlock();
  OvxEventSize copy = record;
  callback(&copy);
  lock.lock();
  --in_callback_;
  changed_.notify_all();
}

void Board::WaitDeliveredLocked(std::unique_lock<std::mutex>& lock, uint64_t ticket) {
  if (ticket == 0 || on_event_thread) {
    return;  // a callback cannot wait for the thread it runs on
  }
  // A dropped event counts as done, one whose callback still runs does not
  // (the device may have been closed from inside that callback).
  changed_.wait(lock, [&] {
    return delivered_ticket_ >= ticket && std::none_of(tickets_in_flight_.begin(), tickets_in_flight_.end(),
                                                       [&](uint64_t t) { return t <= ticket; });
  });
}

void Board::EventLoop(uint64_t generation) {
  on_event_thread = true;
  std::unique_lock lock(mutex_);
  while (thread_generation_ == generation) {
    ProcessDueLocked();
    if (!queue_.empty()) {
      const Delivery delivery = queue_.front();
      queue_.pop_front();
      tickets_in_flight_.push_back(delivery.ticket);
      DeliverLocked(lock, delivery.record);
      std::erase(tickets_in_flight_, delivery.ticket);
      delivered_ticket_ = std::max(delivered_ticket_, delivery.ticket);
      changed_.notify_all();
      continue;
    }
    if (const auto deadline = NextDeadlineLocked()) {
      changed_.wait_until(lock, *deadline);
    } else {
      changed_.wait(lock);
    }
  }
}

}  // namespace ovxsim
