#include "art.h"
namespace art { void drawPanels(Sink&) {} }
