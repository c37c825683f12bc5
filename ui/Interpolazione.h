#pragma once

#include <QImage>
#include <QSize>

namespace ui {

// A picture brought to `size` by interpolating between the four nearest pixels, centre on centre, the
// edges held: what Qt's painter does with smooth scaling, within a few levels a channel, for half its
// processor time and on the calling thread alone (an animation prepares its pictures on helper threads
// that are already as many as the processors). Meant for sizes from half the picture's upward: made
// smaller than that, thin lines would come and go. The picture is in the display's format (RGB32 or
// premultiplied ARGB32), and so is the result; any other format gives a null picture.
QImage interpolated(const QImage& source, QSize size);

// The same with a given set of the processor's instructions: one channel at a time without vector
// instructions, SSE2, or AVX2 for most of the work. All give the same pixels; interpolated() takes the best
// the processor has. A null picture when this processor or build lacks the set (tests).
enum class Instructions { Plain, Sse2, Avx2 };
QImage interpolatedWith(const QImage& source, QSize size, Instructions instructions);

}  // namespace ui
