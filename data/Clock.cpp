#include "data/Clock.h"

namespace data::Clock {

namespace {
std::optional<QDateTime>& fixed()
{
    static std::optional<QDateTime> instant;
    return instant;
}
}  // namespace

QDateTime now()
{
    return fixed() ? *fixed() : QDateTime::currentDateTime();
}

QDate today()
{
    return now().toLocalTime().date();
}

void fix(std::optional<QDateTime> instant)
{
    fixed() = std::move(instant);
}

}  // namespace data::Clock
