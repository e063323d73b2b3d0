#pragma once

#include "host/datos/ErrorRm.h"

#include <QString>
#include <functional>

// The description of the ErrorRm that f raises, or "<sin error>".
inline QString DescripcionDe(const std::function<void()>& f)
{
    try {
        f();
    } catch (const orvinda::ErrorRm& e) {
        return e.Descripcion();
    }
    return QStringLiteral("<sin error>");
}
