#include "tests/support/RecordedSystemCalls.h"

#include <windows.h>

#include "engine/SystemCalls.h"

namespace recorded {

std::vector<Box> messageBoxes;
std::vector<Restart> restarts;
std::deque<int> answers;
std::function<void()> whileNextBoxIsOpen;

void Clear() {
  messageBoxes.clear();
  restarts.clear();
  answers.clear();
  whileNextBoxIsOpen = nullptr;
}

}  // namespace recorded

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
  recorded::messageBoxes.push_back({text ? text : "(null)", caption ? caption : "(null)", style});
  if (auto act = std::move(recorded::whileNextBoxIsOpen)) {
    recorded::whileNextBoxIsOpen = nullptr;
    act();
  }
  if (!recorded::answers.empty()) {
    const int answer = recorded::answers.front();
    recorded::answers.pop_front();
    return answer;
  }
  return (style & MB_YESNO) ? IDNO : IDOK;
}

int RestartSystem(unsigned flags, unsigned long reason) {
  recorded::restarts.push_back({flags, reason});
  return TRUE;
}
