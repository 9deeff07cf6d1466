#include "tools/NormalisedPath.h"

SharedString NormalisedPath(const char* path) {
  SharedString normalised(path);
  normalised.Replace("/", "\\");
  return normalised;
}
