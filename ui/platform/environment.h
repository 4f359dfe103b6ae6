// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The process environment is one table that the C library does not guard: a thread that
// changes it (setenv) while another reads it (getenv) may leave the reader with freed memory.
// The sound thread reads it when the sound module loads and whenever the sound server's client
// library connects; the user-interface thread changes it to hand Qt an activation token.
#pragma once

#include <shared_mutex>

namespace platform {

// Held shared by code that may read the environment on a thread other than the
// user-interface thread, and exclusively by the user-interface thread while it changes it.
// Before any other thread runs, the environment may be changed without it.
[[nodiscard]] std::shared_timed_mutex &environmentLock();

} // namespace platform
