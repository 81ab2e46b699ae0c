#include "art.h"
namespace art { void drawFlags(Sink&, const QString&) {} }
