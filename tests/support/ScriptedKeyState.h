#pragma once

#include "core/filling/KeyState.h"

#include <QHash>
#include <QList>

namespace tarvelo {

// Key state as a test sets it: a value per key, a record of every reading, and
// the pressed bit cleared by each reading, as the platform does.
class ScriptedKeyState : public KeyState
{
public:
    std::uint16_t asyncKeyState(int virtualKey) override
    {
        readings.append(virtualKey);
        const std::uint16_t value = keys.value(virtualKey);
        keys[virtualKey] = value & 0x8000;
        return value;
    }
    bool hasActiveWindow() const override { return activeWindow; }
    // A key goes down (and stays down) as the platform records it.
    void press(int virtualKey)
    {
        keys[virtualKey] = 0x8001;
        notifyPress();
    }

    QHash<int, std::uint16_t> keys;
    QList<int> readings;
    bool activeWindow = true;
};

} // namespace tarvelo
