#pragma once

#include <QString>

// One entry of a list: its text and one signed 32-bit item data.
struct ListEntry {
    QString text;
    qint32 data = 0;

    friend bool operator==(const ListEntry &, const ListEntry &) = default;
};
