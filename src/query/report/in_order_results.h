#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>

namespace hostlore {

// Results that end in any order, handed on in the order of their numbers
// (0, 1, 2, ...): each as soon as it and every one before it are there.
class InOrderResults {
  public:
    using Write = std::function<void(const std::string& result)>;
    explicit InOrderResults(Write write) : write_(std::move(write)) {}

    void Add(std::size_t number, std::string result);

    // How many were handed on, and how many wait for one before them.
    std::size_t Written() const { return next_; }
    std::size_t Held() const { return held_.size(); }

  private:
    Write write_;
    std::map<std::size_t, std::string> held_;
    std::size_t next_ = 0;
};

}  // namespace hostlore
