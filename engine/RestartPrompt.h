// The question that ends an install or an uninstall: restart now?
#ifndef KESTRIN_ENGINE_RESTARTPROMPT_H
#define KESTRIN_ENGINE_RESTARTPROMPT_H

#include <cstdint>

class ProductProfile;

// Asks `questionId` under `captionId` (Yes/No). Yes restarts the system
// (EWX_REBOOT), without looking at the outcome; any other answer shows the
// reminder to restart under the same caption.
void PromptRestart(const ProductProfile& profile, uint16_t captionId, uint16_t questionId);

#endif  // KESTRIN_ENGINE_RESTARTPROMPT_H
