#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace data {

// The time the program stores with a result. A stored row carries the pupil's own calendar day, taken
// from the computer's local time, not the engine's UTC day. Tests fix the instant.
namespace Clock {
QDateTime now();
// Today's date in the computer's time zone.
QDate today();
// A fixed instant from now on (tests); nullopt goes back to the real clock.
void fix(std::optional<QDateTime> instant);
}  // namespace Clock

}  // namespace data
