// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score subsystem: the table, its file, and qualification with name entry.
// Qt Core only: no widgets.
#pragma once

#include "highscores/fileformat.h"
#include "highscores/qualification.h"
#include "highscores/storage.h"
#include "highscores/table.h"
