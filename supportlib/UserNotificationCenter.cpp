#include "UserNotificationCenter.h"

#include <array>
#include <charconv>

#include "DesktopNotificationCenter.h"

namespace {

UserNotificationCenter* replacementCenter = nullptr;

} // namespace

QString UserNotification::identifierWithPrefix(const QString& prefix, double secondsSince1970)
{
    // Fixed notation: the shortest form alone would write 1700000000 as "1.7e+09". The
    // longest fixed form of a double (the smallest subnormal) needs about 330 characters.
    std::array<char, 400> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                            secondsSince1970, std::chars_format::fixed);
    if (error != std::errc())
        return prefix + QString::number(secondsSince1970, 'g', 17);
    return prefix + QString::fromLatin1(digits.data(), end - digits.data());
}

UserNotificationCenter::~UserNotificationCenter() = default;

UserNotificationCenter& UserNotificationCenter::shared()
{
    if (replacementCenter)
        return *replacementCenter;
    // Never destroyed: its bus connection must not be torn down after Qt's own globals.
    static auto* desktop = new DesktopNotificationCenter;
    return *desktop;
}

void UserNotificationCenter::setShared(UserNotificationCenter* center)
{
    replacementCenter = center;
}
