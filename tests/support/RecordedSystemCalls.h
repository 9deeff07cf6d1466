// Stand-ins for the engine's message boxes and restart: they record what the
// user would have seen and answer as the test tells them.
#ifndef KESTRIN_TESTS_SUPPORT_RECORDEDSYSTEMCALLS_H
#define KESTRIN_TESTS_SUPPORT_RECORDEDSYSTEMCALLS_H

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace recorded {

struct Box {
  std::string text;
  std::string caption;
  unsigned style;
};

struct Restart {
  unsigned flags;
  unsigned long reason;
};

extern std::vector<Box> messageBoxes;
extern std::vector<Restart> restarts;
// The next answers, in order; when empty a question is answered No and
// anything else OK.
extern std::deque<int> answers;

// Runs while the next message box is "open", as a user acting meanwhile.
extern std::function<void()> whileNextBoxIsOpen;

void Clear();

}  // namespace recorded

#endif  // KESTRIN_TESTS_SUPPORT_RECORDEDSYSTEMCALLS_H
