// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/environment.h"

namespace platform {

std::shared_timed_mutex &environmentLock()
{
    static std::shared_timed_mutex lock;
    return lock;
}

} // namespace platform
