// The document store: one Shift-JIS byte string per display row, each row
// carrying its own terminator (see row_terminators.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "textstore/block_table.h"
#include "textstore/row.h"
#include "textstore/row_sequence.h"

namespace notavo {

// The store's only error of its own: an index or capacity out of range.
class EZelStringsError : public std::runtime_error {
 public:
  EZelStringsError();
};

inline constexpr const char* kIndexErrorMessage =
    "\x83\x43\x83\x93\x83\x66\x83\x62\x83\x4e\x83\x58\x82\xaa\x83\x8a\x83\x58"
    "\x83\x67\x82\xcc\x94\xcd\x88\xcd\x82\xf0\x92\xb4\x82\xa6\x82\xc4\x82\xa2"
    "\x82\xdc\x82\xb7";  // "インデックスがリストの範囲を超えています" in code page 932

class TZelStrings {
 public:
  static constexpr int kMaxCapacity = 0x7FFFFFF;

  TZelStrings() = default;
  TZelStrings(const TZelStrings&) = delete;
  TZelStrings& operator=(const TZelStrings&) = delete;
  virtual ~TZelStrings();

  int Count() const { return FCount; }
  // Bytes of all rows, terminators and the end mark included; kept up to
  // date by every change, so asking costs nothing.
  long long TotalBytes() const { return FTotalBytes; }
  int Capacity() const { return FCapacity; }
  // Bytes of the blocks that rows read from a file or cut from flat text
  // point into. A block is freed once no row in the store points into it.
  std::size_t BlockBytes() const { return FBlocks.Bytes(); }

  // The row's bytes, terminator included; valid until the row changes.
  std::string_view Get(int index) const {
    if (index < 0 || index >= FCount) Error();
    return FList[index].view();
  }
  std::string_view operator[](int index) const { return Get(index); }
  // The last row k in from..last (both valid) such that rows from..k lie one
  // after another in memory, holding at least `maxBytes` unless they end
  // first: a stretch a byte search can cross in one go.
  int AdjacentRows(int from, int last, std::size_t maxBytes) const {
    if (from < 0 || last >= FCount || from > last) Error();
    return FList.AdjacentFrom(from, last, maxBytes);
  }
  // Whether the row owns its bytes (written by an edit) rather than pointing
  // into a block of the document.
  bool IsOwnedRow(int index) const;
  virtual void Put(int index, std::string_view row);
  int Add(std::string_view row);
  void Insert(int index, std::string_view row);
  void Delete(int index);
  void Clear();
  virtual void SetCount(int n);
  virtual void SetCapacity(int n);

  virtual std::string GetText() const;
  virtual void SetText(std::string_view text);
  // Cuts `text` like SetText and inserts the pieces from `index` on; on
  // return `index` names the last inserted row.
  void InsertText(int& index, std::string_view text);
  void AddStrings(const std::vector<std::string>& rows);
  void AddStrings(const TZelStrings& rows);
  void Assign(const std::vector<std::string>& rows);
  void Assign(const TZelStrings& rows);
  virtual int IndexOf(std::string_view row) const;

  virtual std::string GetCommaText() const;
  virtual void SetCommaText(std::string_view text);

  // Reads a file in its own line-break style; on failure (EFileError) the
  // store is exactly as it was.
  virtual void LoadFromFile(const std::string& fileName);
  // Writes the logical lines with CR LF between them and nothing after the
  // last; the old file survives any failure.
  virtual void SaveToFile(const std::string& fileName) const;
  virtual void LoadFromStream(std::istream& stream);
  virtual void SaveToStream(std::ostream& stream) const;

  // Replaces rows first..first+count-1 by `rows` in one splice: the same
  // result as overwriting, inserting and deleting row by row, without
  // moving the rows behind the range more than once.
  void ReplaceRows(int first, int count, std::vector<TRow>&& rows);
  void ReplaceRows(int first, int count, const std::vector<std::string>& rows);

  // Hands the rows over and leaves the store without rows; its blocks stay,
  // so the rows remain valid until they come back through AdoptRows. Lets a
  // rebuild move the rows it keeps.
  std::vector<TRow> ReleaseRows();
  // Takes rows built elsewhere (a rebuild of our own rows) in one step. Rows
  // may point into the store's blocks; blocks that none of them points into
  // are freed, so released rows not handed back are invalid from here on.
  void AdoptRows(std::vector<TRow>&& rows);
  // Takes a whole new document: its rows and the blocks they point into.
  void AdoptDocument(TRowList&& document);

  [[noreturn]] virtual void Error() const;

  // Change tracking for any number of readers (the logical-line index, the
  // link-state cache, ...): every change of a row's bytes or index bumps the
  // generation. A reader keeps the generation it has seen and asks which
  // rows changed since, so it refreshes only what an edit touched.
  std::uint64_t Generation() const { return FChanges.Generation(); }
  // The lowest row that may have changed after generation `seen`; rows before
  // it are as they were then. kNoChange when nothing changed.
  int LowestChangedRowSince(std::uint64_t seen) const { return FChanges.LowestSince(seen); }
  static constexpr int kNoChange = kMaxCapacity + 1;

 private:
  // The last changes, each with its generation and lowest row. A reader
  // further behind than the ring remembers is told that everything changed.
  class TChangeLog {
   public:
    void Mark(int row);
    std::uint64_t Generation() const {
      observed_ = true;
      return generation_;
    }
    int LowestSince(std::uint64_t seen) const;

   private:
    static constexpr std::size_t kKept = 64;
    struct Entry {
      std::uint64_t generation = 0;
      int row = 0;
    };
    Entry entries_[kKept];
    std::uint64_t generation_ = 1;  // 0: a reader that has seen nothing
    mutable bool observed_ = true;  // a reader saw generation_ after its last mark
  };

  void MarkChanged(int row) { FChanges.Mark(row); }
  void CheckIndex(int index) const;
  void GrowIfFull();

  TRowSequence FList;   // size() == FCount
  TBlockTable FBlocks;  // bytes the View rows point into
  int FCount = 0;
  int FCapacity = 0;
  TChangeLog FChanges;
  long long FTotalBytes = 0;
};

}  // namespace notavo
