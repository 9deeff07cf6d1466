#include "engine/RestartPrompt.h"

#include <windows.h>

#include "app/ProductProfile.h"
#include "engine/SystemCalls.h"
#include "resources/ResourceIds.h"

void PromptRestart(const ProductProfile& profile, uint16_t captionId, uint16_t questionId) {
  const SharedString caption = profile.LoadMessage(captionId);
  const SharedString question = profile.LoadMessage(questionId);
  if (ShowMessageBox(question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
    RestartSystem(EWX_REBOOT, 0);
    return;
  }
  ShowMessageBox(profile.LoadMessage(IDS_REMEMBER_TO_REBOOT).c_str(), caption.c_str(), MB_ICONWARNING);
}
