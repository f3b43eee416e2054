#include "StackRoom.h"

#include <pthread.h>

#include <cstdint>

StackRoom CurrentStackRoom() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return {};
  void* lowest = nullptr;
  std::size_t size = 0;
  const int found = pthread_attr_getstack(&attributes, &lowest, &size);
  pthread_attr_destroy(&attributes);
  if (found != 0) return {};
  // The frame's own address: a sanitizer may keep locals elsewhere.
  const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  const auto top = reinterpret_cast<std::uintptr_t>(lowest) + size;
  return {here < top ? top - here : 0, size};
}
