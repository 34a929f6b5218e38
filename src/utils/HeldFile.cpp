#include "utils/HeldFile.h"

#include <utility>

HeldFile::HeldFile() = default;

HeldFile::~HeldFile() { close(); }

HeldFile::HeldFile(HeldFile&& other) noexcept
    : handles_(std::move(other.handles_)), view_(std::exchange(other.view_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  if (this != &other) {
    close();
    handles_ = std::move(other.handles_);
    view_ = std::exchange(other.view_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool HeldFile::isOpen() const { return handles_ != nullptr; }

void HeldFile::close() {
  unmapView();
  handles_.reset();
  size_ = 0;
}
