// Blocks of a loaded document are freed once no row points into them, and
// never before: random edits on a loaded file against a model that knows,
// for every row, which block (if any) its bytes came from.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "test_files.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

constexpr int kOwned = -1;

struct ModelRow {
  std::string bytes;
  int block = kOwned;  // the block the row points into, or kOwned
};

// The model: every row, and the size of every block the store was given.
struct BlockModel {
  std::vector<ModelRow> rows;
  std::vector<std::size_t> blockSizes;

  // A block just added by a load or InsertText: its size is what the
  // store's block bytes grew by.
  int AddBlock(std::size_t size) {
    blockSizes.push_back(size);
    return static_cast<int>(blockSizes.size()) - 1;
  }
  // Bytes of the blocks some row still points into (an empty row points
  // nowhere).
  std::size_t HeldBytes() const {
    std::set<int> held;
    for (const ModelRow& row : rows) {
      if (row.block != kOwned && !row.bytes.empty()) held.insert(row.block);
    }
    std::size_t bytes = 0;
    for (int block : held) bytes += blockSizes[static_cast<std::size_t>(block)];
    return bytes;
  }
};

std::string RandomLine(std::mt19937& rng) {
  static const char kBytes[] = {'a', 'b', ' ', '\t', '\x82', '\xA0', '\x93', '\xFA'};
  std::string line(rng() % 12, ' ');
  for (char& c : line) c = kBytes[rng() % sizeof kBytes];
  return line + "\r\n";
}

// Cuts `row` into 1..3 pieces: views of it when the row is a view, copies
// otherwise, so pieces of block rows keep their block alive as a rebuild's do.
void CutPieces(std::mt19937& rng, const TRow& row, int block, std::vector<TRow>& pieces,
               std::vector<ModelRow>& model) {
  const std::string_view bytes = row.view();
  std::size_t at = 0;
  const int n = 1 + static_cast<int>(rng() % 3);
  for (int k = 0; k < n; ++k) {
    const std::size_t len = k + 1 == n ? bytes.size() - at : rng() % (bytes.size() - at + 1);
    const std::string_view piece = bytes.substr(at, len);
    pieces.push_back(row.owned() ? TRow::Copy(piece) : TRow::View(piece.data(), piece.size()));
    model.push_back({std::string(piece), row.owned() ? kOwned : block});
    at += len;
  }
}

void ExpectSame(const TZelStrings& s, const BlockModel& model, int step) {
  ASSERT_EQ(s.Count(), static_cast<int>(model.rows.size())) << step;
  long long total = 0;
  for (int i = 0; i < s.Count(); ++i) {
    const ModelRow& row = model.rows[static_cast<std::size_t>(i)];
    ASSERT_EQ(s[i], row.bytes) << "step " << step << " row " << i;
    total += static_cast<long long>(row.bytes.size());
  }
  ASSERT_EQ(s.TotalBytes(), total) << step;
  ASSERT_EQ(s.BlockBytes(), model.HeldBytes()) << step;
}

// Releases every row and adopts a rebuild of them, the way wrapping and
// unwrapping do: rows kept, cut into pieces, joined with the next row when
// the two lie back to back in one block, or left out.
void Rebuild(std::mt19937& rng, TZelStrings& s, BlockModel& model) {
  const std::size_t heldBefore = s.BlockBytes();
  std::vector<TRow> old = s.ReleaseRows();
  EXPECT_EQ(s.BlockBytes(), heldBefore);  // lent rows keep their blocks
  std::vector<TRow> rows;
  std::vector<ModelRow> next;
  // A few rows of each kind, so the row count stays about the same.
  const auto some = [&] { return rng() % old.size(); };
  const std::set<std::size_t> cut{some(), some()}, join{some(), some(), some()};
  const std::size_t leftOut = old.size() > 1 && rng() % 2 ? some() : old.size();
  for (std::size_t i = 0; i < old.size(); ++i) {
    const int block = model.rows[i].block;
    if (i == leftOut) continue;
    if (cut.count(i)) {
      CutPieces(rng, old[i], block, rows, next);
    } else if (join.count(i) && i + 1 < old.size() && !old[i].owned() && !old[i + 1].owned() &&
               old[i].size() > 0 && old[i].data() + old[i].size() == old[i + 1].data()) {
      rows.push_back(TRow::View(old[i].data(), old[i].size() + old[i + 1].size()));
      next.push_back({model.rows[i].bytes + model.rows[i + 1].bytes, block});
      ++i;
    } else {
      rows.push_back(std::move(old[i]));
      next.push_back(std::move(model.rows[i]));
    }
  }
  old.clear();
  s.AdoptRows(std::move(rows));
  model.rows = std::move(next);
}

TEST(BlockRelease, RandomEditsFreeOnlyBlocksNoRowPointsInto) {
  testing::ScratchFolder folder;
  for (int round = 0; round < 4; ++round) {
    std::mt19937 rng(1000 + round);
    // A CR LF file is read whole into one block; pastes add more.
    std::string file;
    for (int i = 0; i < 300; ++i) file += RandomLine(rng);
    file += "end";
    testing::WriteBytes(folder.File("in.txt"), file);
    TZelStrings s;
    s.LoadFromFile(folder.File("in.txt"));
    BlockModel model;
    const int loaded = model.AddBlock(s.BlockBytes());
    for (int i = 0; i < s.Count(); ++i) {
      ASSERT_FALSE(s.IsOwnedRow(i));
      model.rows.push_back({std::string(s[i]), loaded});
    }

    for (int step = 0; step < 1500; ++step) {
      const int count = s.Count();
      const int at = static_cast<int>(rng() % static_cast<unsigned>(count));
      auto& rows = model.rows;
      switch (rng() % 9) {
        case 0: {  // typing over a row
          const std::string line = RandomLine(rng);
          s.Put(at, line);
          rows[static_cast<std::size_t>(at)] = {line, kOwned};
          break;
        }
        case 1: {
          const std::string line = RandomLine(rng);
          s.Insert(at, line);
          rows.insert(rows.begin() + at, {line, kOwned});
          break;
        }
        case 2:
          if (count > 1) {
            s.Delete(at);
            rows.erase(rows.begin() + at);
          }
          break;
        case 3: {  // a selection deleted: rows joined into one edited row
          int n = std::min(count - at, 1 + static_cast<int>(rng() % 8));
          std::string joined;
          for (int i = at; i < at + n; ++i) joined += rows[static_cast<std::size_t>(i)].bytes;
          if (joined.size() > 200) {  // keep rows short: the model is compared every step
            n = 1;
            joined = RandomLine(rng);
          }
          s.ReplaceRows(at, n, std::vector<std::string>{joined});
          rows.erase(rows.begin() + at + 1, rows.begin() + at + n);
          rows[static_cast<std::size_t>(at)] = {joined, kOwned};
          break;
        }
        case 4: {  // pieces of one row replace a range around or beside it
          const int source = static_cast<int>(rng() % static_cast<unsigned>(count));
          const int first = std::max(0, source - static_cast<int>(rng() % 3));
          const int n = std::min(count - first, static_cast<int>(rng() % 4));
          std::vector<TRow> pieces;
          std::vector<ModelRow> pieceModel;
          const TRow row = s.IsOwnedRow(source) ? TRow::Copy(s[source])
                                                : TRow::View(s[source].data(), s[source].size());
          CutPieces(rng, row, rows[static_cast<std::size_t>(source)].block, pieces, pieceModel);
          s.ReplaceRows(first, n, std::move(pieces));
          rows.erase(rows.begin() + first, rows.begin() + first + n);
          rows.insert(rows.begin() + first, pieceModel.begin(), pieceModel.end());
          break;
        }
        case 5: {  // a paste: a new block
          std::string text;
          const int lines = 1 + static_cast<int>(rng() % 6);
          std::vector<ModelRow> pasted;
          const std::size_t before = s.BlockBytes();
          for (int i = 0; i < lines; ++i) pasted.push_back({RandomLine(rng), 0});
          for (const ModelRow& line : pasted) text += line.bytes;
          int index = at;
          s.InsertText(index, text);
          const int block = model.AddBlock(s.BlockBytes() - before);
          for (ModelRow& line : pasted) line.block = block;
          rows.insert(rows.begin() + at, pasted.begin(), pasted.end());
          ASSERT_EQ(index, at + lines - 1);
          break;
        }
        case 6:
          if (count > 5) {  // cut off the tail
            const int n = count - 1 - static_cast<int>(rng() % 4);
            s.SetCount(n);
            rows.resize(static_cast<std::size_t>(n));
          }
          break;
        default:
          Rebuild(rng, s, model);
          break;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSame(s, model, step));
    }

    // Deleting everything frees every block.
    ASSERT_GT(s.BlockBytes(), 0u);
    s.ReplaceRows(0, s.Count(), std::vector<std::string>{std::string(kEofMark)});
    EXPECT_EQ(s.BlockBytes(), 0u);
  }
}

}  // namespace
}  // namespace notavo
