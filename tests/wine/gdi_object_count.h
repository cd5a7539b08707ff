// The number of GDI objects another process holds, read from its GDI
// handle table (the table its process environment block points to; on
// Windows one table for the session, each entry naming its process).
// GetGuiResources would say it, but Wine does not implement it.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <optional>
#include <vector>

namespace notavo::testing {

inline std::optional<long> GdiObjectCount(HANDLE process, DWORD processId) {
  // One entry of the table, as laid out in 64-bit processes.
  struct TEntry {
    ULONGLONG Object;
    USHORT ProcessId;
    USHORT Count;
    USHORT Unique;
    UCHAR Type;
    UCHAR Flags;
    ULONGLONG UserPointer;
  };
  static_assert(sizeof(TEntry) == 24);
  constexpr std::size_t kEntries = 0x10000;
  constexpr std::size_t kTableOffsetInPeb = 0xF8;
  using TQuery = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<TQuery>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (query == nullptr ||
      query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) {
    return std::nullopt;
  }
  void* table = nullptr;
  SIZE_T read = 0;
  if (!::ReadProcessMemory(
          process,
          static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + kTableOffsetInPeb,
          &table, sizeof table, &read) ||
      table == nullptr) {
    return std::nullopt;
  }
  std::vector<TEntry> entries(kEntries);
  ::ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(TEntry), &read);
  if (read == 0) return std::nullopt;
  long count = 0;
  for (std::size_t i = 0; i < read / sizeof(TEntry); ++i) {
    const TEntry& e = entries[i];
    // Wine's table is the process's own and leaves the owner at 0.
    if (e.Type != 0 && (e.ProcessId == 0 || e.ProcessId == static_cast<USHORT>(processId))) ++count;
  }
  return count;
}

}  // namespace notavo::testing
