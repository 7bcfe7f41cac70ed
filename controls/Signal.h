#pragma once
// A minimal change-notification signal. Listeners hold a Connection; dropping it disconnects.
// Either side may go first: a Connection outliving its Signal is harmless.

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace korvalin::controls {

template <typename... Args>
class Signal;

class Connection {
 public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&& other) noexcept : disconnect_(std::move(other.disconnect_)) { other.disconnect_ = nullptr; }
  Connection& operator=(Connection&& other) noexcept {
    if (this != &other) {
      Disconnect();
      disconnect_ = std::move(other.disconnect_);
      other.disconnect_ = nullptr;
    }
    return *this;
  }
  ~Connection() { Disconnect(); }

  void Disconnect() {
    if (disconnect_) {
      auto fn = std::move(disconnect_);
      disconnect_ = nullptr;
      fn();
    }
  }

 private:
  template <typename... Args>
  friend class Signal;
  explicit Connection(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
  std::function<void()> disconnect_;
};

template <typename... Args>
class Signal {
 public:
  using Listener = std::function<void(Args...)>;

  Signal() : state_(std::make_shared<State>()) {}
  Signal(const Signal&) = delete;
  Signal& operator=(const Signal&) = delete;

  [[nodiscard]] Connection Connect(Listener listener) {
    const std::size_t id = ++state_->nextId;
    state_->listeners.push_back({id, std::make_shared<Slot>(Slot{std::move(listener), true})});
    std::weak_ptr<State> weak = state_;
    return Connection([weak, id] {
      if (auto state = weak.lock()) {
        auto& ls = state->listeners;
        for (auto it = ls.begin(); it != ls.end(); ++it) {
          if (it->id == id) {
            it->slot->connected = false;
            ls.erase(it);
            break;
          }
        }
      }
    });
  }

  // Listeners may connect or disconnect while being notified: iteration runs over a snapshot,
  // and a listener disconnected meanwhile is skipped, so its owner may already be gone.
  void Emit(Args... args) const {
    if (state_->listeners.empty()) return;
    std::vector<std::shared_ptr<Slot>> snapshot;
    snapshot.reserve(state_->listeners.size());
    for (const auto& entry : state_->listeners) snapshot.push_back(entry.slot);
    for (const auto& slot : snapshot) {
      if (slot->connected) slot->fn(args...);
    }
  }

  std::size_t ListenerCount() const { return state_->listeners.size(); }

 private:
  struct Slot {
    Listener fn;
    bool connected;
  };
  struct Entry {
    std::size_t id;
    std::shared_ptr<Slot> slot;
  };
  struct State {
    std::size_t nextId = 0;
    std::vector<Entry> listeners;
  };
  std::shared_ptr<State> state_;
};

}  // namespace korvalin::controls
