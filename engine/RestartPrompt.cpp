#include "engine/RestartPrompt.h"

#include <windows.h>

#include "app/ProductProfile.h"
#include "engine/SystemCalls.h"
#include "resources/ResourceIds.h"

void PromptRestart(const ProductProfile& profile, uint16_t captionId, uint16_t questionId) {
  if (ShowMessageBox(profile.LoadMessage(questionId).c_str(), profile.LoadMessage(captionId).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES) {
    RestartSystem(EWX_REBOOT, 0);
    return;
  }
  // The question has no owner window: the user may have changed the
  // language meanwhile, and the reminder speaks the language of its moment.
  ShowMessageBox(profile.LoadMessage(IDS_REMEMBER_TO_REBOOT).c_str(), profile.LoadMessage(captionId).c_str(),
                 MB_ICONWARNING);
}
