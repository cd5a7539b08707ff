// Random edit sequences applied both to the editor (headless, through its
// keys and messages) and to the flat-text reference of edit_model.h: typing,
// line breaks, tabs, deletions, pastes, cuts, selections and caret
// placement by message, Home/End and the document ends, clicks, Shift+clicks,
// drag selection (from the text and down or up the gutter) and moving or
// copying the selected text by dragging it, undo and redo between steps,
// wrap switched and columns changed on the way, replace runs and find steps
// (one test), with lone CR
// and LF bytes in the documents and in the typed text. After every step the
// text, every row, the caret, the selection and the undo state must agree;
// undoing everything gives back the loaded bytes, redoing everything the
// last text. A failing run is shortened to a few steps before it is shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "edit_ops.h"
#include "editor_fixture.h"

namespace notavo {
namespace {

using testing::EditModel;
using testing::EditOp;
using testing::EditorFixture;
using testing::Escaped;

struct Document {
  std::string file;  // the bytes on disk
  std::string text;  // the document they load as
  bool loneCr, loneLf;
};

const std::vector<Document>& Documents() {
  static const std::vector<Document> kDocuments = {
      {"start line\r\n  indented \x82\xA0\x82\xA2 text\r\n\tlast",
       "start line\r\n  indented \x82\xA0\x82\xA2 text\r\n\tlast", false, false},
      // An LF file: a lone CR stays a byte of its line.
      {"first\nab\rcd\nnext\n0123456789abcdefghij\rklmnopq\n",
       "first\r\nab\rcd\r\nnext\r\n0123456789abcdefghij\rklmnopq\r\n", true, false},
      // A CR LF file with lone LF bytes.
      {"one\r\ntwo\nthree\r\n\n\r\n\x93\xFA\x96\x7B\x8C\xEA\n  x",
       "one\r\ntwo\nthree\r\n\n\r\n\x93\xFA\x96\x7B\x8C\xEA\n  x", false, true},
      // A CR file: LF is an ordinary byte there.
      {"a\rb\nc\r\tlong line of text that wraps over rows\r",
       "a\r\nb\nc\r\n\tlong line of text that wraps over rows\r\n", false, true},
      // A CR LF file with lone CR bytes (only the disabled test below).
      {"line one\r\nb\rc two\r\n\x82\xA0\rx\r\nlast", "line one\r\nb\rc two\r\n\x82\xA0\rx\r\nlast",
       true, false},
  };
  return kDocuments;
}
constexpr std::size_t kCrLfFileWithLoneCr = 4;

struct Settings {
  bool wrap = false;
  int column = 10;
  bool autoIndent = false;
  bool caretScrollFix = false;
  testing::OpMix mix;
  std::size_t document = 0;

  // The document is one whose lone bytes the mix allows.
  static Settings For(unsigned seed, bool wrap, testing::OpMix mix) {
    std::vector<std::size_t> fitting;
    for (std::size_t d = 0; d < kCrLfFileWithLoneCr; ++d) {
      const Document& doc = Documents()[d];
      const bool loneCrFits = mix.loneCr && (mix.wrapWithLoneCr || !wrap);
      if ((loneCrFits || !doc.loneCr) && (mix.loneLf || !doc.loneLf)) fitting.push_back(d);
    }
    return {wrap, 10 + static_cast<int>(seed % 3) * 7, (seed & 1) != 0, (seed & 2) != 0,
            mix,  fitting[seed / 4 % fitting.size()]};
  }
  std::string Describe() const {
    return std::string(wrap ? "wrapped at " + std::to_string(column) : "unwrapped") +
           (autoIndent ? ", AutoIndent" : "") + (caretScrollFix ? ", CaretScrollFix" : "") +
           ", document " + Escaped(Documents()[document].file);
  }
};

// A loaded editor and its model.
class Session {
 public:
  explicit Session(const Settings& s) {
    f_.edit.SetWordWrap(s.wrap);
    f_.edit.SetColumn(s.column);
    f_.edit.SetAutoIndent(s.autoIndent);
    f_.edit.SetCaretScrollFix(s.caretScrollFix);
    loaded_ = f_.Load(Documents()[s.document].file);
    model_.text = Documents()[s.document].text;
    model_.wrapped = s.wrap;
    model_.autoIndent = s.autoIndent;
    model_.params.Column = f_.edit.Column();
    model_.params.TabCount = f_.edit.TabCount();
  }
  bool Loaded() const { return loaded_; }
  std::string Check() { return run_.Check(); }
  std::string Apply(const EditOp& op) { return run_.Apply(op); }
  EditModel& Model() { return model_; }
  TZelEdit& Edit() { return f_.edit; }

 private:
  EditorFixture f_;
  EditModel model_;
  testing::ModelRun run_{f_.host, f_.edit, model_};
  bool loaded_ = false;
};

// Index of the first step whose result differs from the model (or -1),
// what differed, and the model's state before that step.
struct Outcome {
  int failedAt = -1;
  std::string message;
  std::string before;
};

Outcome Replay(const Settings& s, const std::vector<EditOp>& ops) {
  Session session(s);
  if (std::string m = session.Check(); !m.empty()) return {0, "after loading: " + m, ""};
  for (std::size_t i = 0; i < ops.size(); ++i) {
    if (!testing::Allowed(ops[i], session.Model(), s.mix)) continue;
    const std::string before = testing::Describe(session.Model());
    if (std::string m = session.Apply(ops[i]); !m.empty()) return {static_cast<int>(i), m, before};
  }
  return {};
}

// Drops steps while the run still fails, longest stretches first, until no
// single step can go.
std::vector<EditOp> Shorten(const Settings& s, std::vector<EditOp> ops) {
  for (std::size_t length = 0; length != ops.size();) {
    length = ops.size();
    for (std::size_t chunk = std::max<std::size_t>(ops.size() / 2, 1); chunk >= 1; chunk /= 2) {
      for (std::size_t at = 0; at + chunk <= ops.size();) {
        std::vector<EditOp> fewer(ops.begin(), ops.begin() + static_cast<long>(at));
        fewer.insert(fewer.end(), ops.begin() + static_cast<long>(at + chunk), ops.end());
        const Outcome o = Replay(s, fewer);
        if (o.failedAt >= 0) {
          fewer.resize(static_cast<std::size_t>(o.failedAt) + 1);
          ops = std::move(fewer);
        } else {
          at += chunk;
        }
      }
    }
  }
  return ops;
}

std::string Report(const Settings& s, const std::vector<EditOp>& ops) {
  const std::vector<EditOp> shortest = Shorten(s, ops);
  std::string text = s.Describe() + "\nshortest failing steps:\n";
  for (const EditOp& op : shortest) text += "  " + testing::Describe(op) + "\n";
  const Outcome o = Replay(s, shortest);
  return text + "  -> " + o.message + "\nbefore the last step: " + o.before;
}

EditOp Plain(EditOp::Kind kind) {
  EditOp op;
  op.kind = kind;
  return op;
}

bool IsEdit(EditOp::Kind kind) {
  return kind <= EditOp::kCut;  // typing through cutting
}

void RunModel(const Settings& s, unsigned seed, int steps) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  Session session(s);
  ASSERT_TRUE(session.Loaded());
  ASSERT_EQ(session.Check(), "");
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<EditOp> ops;
  auto apply = [&](const EditOp& op) {
    ops.push_back(op);
    if (std::getenv("MODEL_TRACE")) std::printf("%s\n", testing::Describe(op).c_str());
    const std::string message = session.Apply(op);
    if (!message.empty()) {
      ADD_FAILURE() << message << "\n" << Report(s, ops);
    }
    return message.empty();
  };
  for (int step = 0; step < steps; ++step) {
    const EditOp op = testing::PickOp(pick, session.Model(), s.mix);
    if (!apply(op)) return;
    // Now and then the step just made is undone and redone at once.
    if (IsEdit(op.kind) && pick(4) == 0) {
      if (!apply(Plain(EditOp::kUndo)) || !apply(Plain(EditOp::kRedo))) return;
    }
  }
  // Undo everything: the loaded bytes come back, and the text is
  // unmodified again; redo everything: the newest text.
  std::optional<std::string> newest;
  if (session.Model().redo.empty()) newest = session.Model().text;
  // (Wrapping is switched off first where the mix keeps lone CR bytes out
  // of wrapped rows and the next step would bring one back.)
  auto replay = [&](EditOp::Kind kind) {
    if (!testing::Allowed(Plain(kind), session.Model(), s.mix) &&
        !apply(Plain(EditOp::kToggleWrap)))
      return false;
    return apply(Plain(kind));
  };
  while (!session.Model().undo.empty()) {
    if (!replay(EditOp::kUndo)) return;
  }
  EXPECT_EQ(session.Model().text, Documents()[s.document].text);
  EXPECT_FALSE(session.Edit().Modified());
  while (!session.Model().redo.empty()) {
    if (!replay(EditOp::kRedo)) return;
  }
  if (newest) {
    EXPECT_EQ(session.Model().text, *newest);
  }
}

constexpr unsigned kSeeds = 40;  // runs of 1000 steps for each test, about 40 ms each

// Lone CR bytes in odd runs, lone LF bytes in even ones; none of the cases
// the disabled tests below wait for.
testing::OpMix OneKindOfLoneByte(unsigned seed) {
  testing::OpMix mix;
  (seed % 2 ? mix.loneLf : mix.loneCr) = false;
  mix.wordDeleteAtLoneCr = false;
  mix.wrapWithLoneCr = false;
  return mix;
}

void RunSeeds(testing::OpMix mix, bool wrap) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed)
    RunModel(Settings::For(seed, wrap, mix), seed, 1000);
}

TEST(EditingModel, Unwrapped) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed)
    RunModel(Settings::For(seed, false, OneKindOfLoneByte(seed)), seed, 1000);
}

TEST(EditingModel, WrappedAtSmallColumns) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed)
    RunModel(Settings::For(seed, true, OneKindOfLoneByte(seed)), seed, 1000);
}

// Lone bytes, one kind per test, so a failure names its kind.
//
// An edit that brings a lone CR and a lone LF together (typing LF after a
// lone CR, deleting what stood between them) must end the row there: the rows
// and the caret always match the text that is saved.
TEST(EditingModel, LoneCrMeetsLoneLf) {
  testing::OpMix mix;
  mix.wordDeleteAtLoneCr = false;
  mix.wrapWithLoneCr = false;
  RunSeeds(mix, false);
  RunSeeds(mix, true);
}

// Replace runs over the whole document and rounds of find steps among the
// edits: the replaced text, rows, caret and undo steps match the model's,
// and every find step raises the events of the row-by-row walk over the
// rows of the moment.
TEST(EditingModel, ReplaceAndFindAmongEdits) {
  testing::OpMix mix;
  mix.search = true;
  mix.wrapWithLoneCr = false;
  RunSeeds(mix, false);
  RunSeeds(mix, true);
}

// Ctrl+Delete with a lone CR at the caret deletes it as Delete does.
TEST(EditingModel, CtrlDeleteAtALoneCr) {
  testing::OpMix mix;
  mix.loneLf = false;
  mix.wrapWithLoneCr = false;
  RunSeeds(mix, false);
  RunSeeds(mix, true);
}

// Wrapped rows around a lone CR: a row cut short before a CR is cut again
// when an edit two rows further on makes room, so the rows stay what
// wrapping the text afresh gives.
TEST(EditingModel, WrappedRowsAroundALoneCr) {
  testing::OpMix mix;
  mix.loneLf = false;
  mix.wordDeleteAtLoneCr = false;
  RunSeeds(mix, true);
}

// Every kind of lone byte at once, wrapped and unwrapped. Disabled until the
// editor handles two cases: a lone CR meeting a lone LF inside wrapped rows
// leaves the line end inside a row; a row cut short before a CR more than
// two rows back from an edit is not cut again.
TEST(EditingModel, DISABLED_AllLoneBytes) {
  RunSeeds(testing::OpMix{}, false);
  RunSeeds(testing::OpMix{}, true);
}

// Disabled until the CR LF file reader keeps a lone CR inside its line: it
// ends a row after every CR, so "b" CR "c two" loads as a row that is no line
// end, followed by a row holding only the CR LF.
TEST(EditingModel, DISABLED_CrLfFileWithLoneCr) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    Settings s = Settings::For(seed, false, OneKindOfLoneByte(1));
    s.document = kCrLfFileWithLoneCr;
    RunModel(s, seed, 1000);
    if (::testing::Test::HasFailure()) return;
  }
}

// Replays one seed: MODEL_SEED=n [MODEL_WRAP=1] [MODEL_STEPS=n] [MODEL_TRACE=1]
// [MODEL_MIX=all] (default: the seed's mix in the tests above).
TEST(EditingModel, DISABLED_One) {
  const char* seed = std::getenv("MODEL_SEED");
  const char* steps = std::getenv("MODEL_STEPS");
  ASSERT_NE(seed, nullptr);
  const auto n = static_cast<unsigned>(std::atoi(seed));
  const testing::OpMix mix = std::getenv("MODEL_MIX") ? testing::OpMix{} : OneKindOfLoneByte(n);
  RunModel(Settings::For(n, std::getenv("MODEL_WRAP") != nullptr, mix), n,
           steps ? std::atoi(steps) : 1000);
}

}  // namespace
}  // namespace notavo
