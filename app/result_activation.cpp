#include "app/result_activation.h"

void OnResultRowChanged() {
  // Nothing yet: working out a download address belongs to the download side.
}
