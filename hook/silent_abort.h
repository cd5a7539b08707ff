// The silent abort: thrown to end a command the user cancelled (the save
// prompt's "キャンセル"). Whoever shows errors to the user lets it pass
// without a message.
#pragma once

#include <exception>

namespace notavo {

class ESilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "aborted"; }
};

}  // namespace notavo
