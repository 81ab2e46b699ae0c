#include "art.h"
namespace art { void drawIcons(Sink&) {} }
