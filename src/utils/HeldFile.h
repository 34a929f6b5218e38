// A file held open so that the bytes that were checked are the bytes that run: from its
// verification until a process has been started from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Closed at first. While open on Windows, others may read and execute the file but not write,
// rename or delete it (the handle shares reading only). On POSIX, which has no such sharing
// modes, the descriptor pins the file itself: a rename or delete of the path changes nothing
// about what is read and started through it.
class HeldFile {
public:
  HeldFile();
  ~HeldFile();
  HeldFile(HeldFile&& other) noexcept;
  HeldFile& operator=(HeldFile&& other) noexcept;
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  // Closes whatever is held, then opens the regular file at `path` for reading and holding.
  // False, closed, when it cannot be opened (missing; on Windows also when another program has it
  // open for writing or deleting).
  bool open(const std::wstring& path);
  bool isOpen() const;
  // Maps the whole held file read-only: view() then points at size() bytes (null for an empty
  // file). False when it cannot be mapped. The view lasts until unmapView, close or destruction.
  bool mapView();
  const std::uint8_t* view() const { return view_; }
  std::size_t size() const { return size_; }
  void unmapView();
  // Releases the file; nothing happens when nothing is held.
  void close();

  // The platform's handle of the held file (a HANDLE on Windows, a descriptor on POSIX), for
  // starting a process from it; still owned by this object. -1 when closed.
  std::intptr_t nativeHandle() const;

private:
  struct Handles;
  struct HandlesDeleter {
    void operator()(Handles* handles) const noexcept;
  };
  std::unique_ptr<Handles, HandlesDeleter> handles_;
  const std::uint8_t* view_ = nullptr;
  std::size_t size_ = 0;
};
