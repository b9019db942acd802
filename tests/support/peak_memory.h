#pragma once

#include <QtGlobal>

// The largest resident size of this process so far, in bytes.
qint64 peakMemory();
