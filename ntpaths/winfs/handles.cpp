// The handle table and the per-thread last-error value.
#include "ntpaths/winfs/handles.h"

#include <mutex>
#include <unordered_map>

namespace winfs {
namespace {

std::mutex& Lock() {
  static std::mutex mu;
  return mu;
}
struct Table {
  std::unordered_map<HANDLE, std::shared_ptr<HandleObject>> objects;
  HANDLE next = 0x10;
};
Table& TheTable() {
  static Table t;
  return t;
}

thread_local DWORD lastError = 0;

}  // namespace

void SetLastError(DWORD code) {
  lastError = code;
}
DWORD GetLastError() {
  return lastError;
}

HANDLE AddHandle(std::shared_ptr<HandleObject> object) {
  std::lock_guard<std::mutex> g(Lock());
  Table& t = TheTable();
  HANDLE h;
  do {
    h = t.next;
    t.next += 4;
    if (t.next < 0x10 || t.next == kInvalidHandle) t.next = 0x10;
  } while (t.objects.count(h));
  t.objects.emplace(h, std::move(object));
  return h;
}

std::shared_ptr<HandleObject> GetHandle(HANDLE handle, HandleObject::Kind kind) {
  std::lock_guard<std::mutex> g(Lock());
  auto& objects = TheTable().objects;
  auto it = objects.find(handle);
  return it == objects.end() || it->second->kind != kind ? nullptr : it->second;
}

std::shared_ptr<HandleObject> TakeHandle(HANDLE handle, HandleObject::Kind kind) {
  std::lock_guard<std::mutex> g(Lock());
  auto& objects = TheTable().objects;
  auto it = objects.find(handle);
  if (it == objects.end() || it->second->kind != kind) return nullptr;
  auto object = std::move(it->second);
  objects.erase(it);
  return object;
}

}  // namespace winfs
