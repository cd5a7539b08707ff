// The chunked row list against a plain vector, through inserts and erases
// that split chunks, empty them and cross their boundaries.
#include "textstore/row_sequence.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace notavo {
namespace {

std::vector<std::string> Contents(const TRowSequence& rows) {
  std::vector<std::string> out;
  rows.ForEach([&](const TRow& row) { out.emplace_back(row.view()); });
  return out;
}

TEST(RowSequence, AgreesWithAVectorThroughRandomEdits) {
  std::mt19937 rng(3);
  TRowSequence rows;
  std::vector<std::string> model;
  int serial = 0;
  auto make = [&] { return std::to_string(serial++); };
  for (int step = 0; step < 3000; ++step) {
    const int size = static_cast<int>(model.size());
    const int op = static_cast<int>(rng() % 4);
    if (op <= 1 || size == 0) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      const int n = rng() % 10 == 0 ? 1 + static_cast<int>(rng() % 3000) : 1;
      std::vector<TRow> inserted;
      std::vector<std::string> texts;
      for (int i = 0; i < n; ++i) {
        texts.push_back(make());
        inserted.push_back(TRow::Copy(texts.back()));
      }
      rows.Insert(at, std::move(inserted));
      model.insert(model.begin() + at, texts.begin(), texts.end());
    } else if (op == 2) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(size));
      const int n = std::min(size - at, rng() % 8 == 0 ? static_cast<int>(rng() % 2500) : 1);
      rows.Erase(at, n);
      model.erase(model.begin() + at, model.begin() + at + n);
    } else {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(size));
      const std::string text = make();
      rows[at] = TRow::Copy(text);
      model[static_cast<std::size_t>(at)] = text;
    }
    ASSERT_EQ(rows.size(), static_cast<int>(model.size())) << step;
    // Random access after edits finds the right chunk.
    for (int probe = 0; probe < 5 && !model.empty(); ++probe) {
      const int at = static_cast<int>(rng() % model.size());
      ASSERT_EQ(rows[at].view(), model[static_cast<std::size_t>(at)]) << step;
    }
  }
  EXPECT_EQ(Contents(rows), model);
  std::vector<TRow> released = rows.Release();
  EXPECT_EQ(rows.size(), 0);
  ASSERT_EQ(released.size(), model.size());
  rows.Assign(std::move(released));
  EXPECT_EQ(Contents(rows), model);
}

}  // namespace
}  // namespace notavo
