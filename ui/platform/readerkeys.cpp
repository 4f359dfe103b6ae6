// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/readerkeys.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

namespace {

template<typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

// The key codes that give Insert, KP_Insert or Caps_Lock in any column of the keyboard map.
std::vector<xcb_keycode_t> readerKeyCodes(xcb_connection_t *connection)
{
    constexpr xcb_keysym_t Insert = 0xff63, KeypadInsert = 0xff9e, CapsLock = 0xffe5;
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - first + 1;
    const ReplyPtr<xcb_get_keyboard_mapping_reply_t> map(
        xcb_get_keyboard_mapping_reply(
            connection,
            xcb_get_keyboard_mapping(connection, xcb_keycode_t(first), std::uint8_t(count)),
            nullptr),
        &std::free);
    std::vector<xcb_keycode_t> codes;
    if (!map || map->keysyms_per_keycode == 0)
        return codes;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        const xcb_keysym_t *row = syms + code * perCode;
        if (std::any_of(row, row + perCode, [](xcb_keysym_t sym) {
                return sym == Insert || sym == KeypadInsert || sym == CapsLock;
            }))
            codes.push_back(xcb_keycode_t(first + code));
    }
    return codes;
}

} // namespace

bool readerModifierHeld()
{
    // The offscreen platform may offer the X11 interface too, without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    // The keyboard map is read once: a layout switched later keeps these keys where they are.
    static const std::vector<xcb_keycode_t> codes = readerKeyCodes(connection);
    if (codes.empty())
        return false;
    const ReplyPtr<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr), &std::free);
    if (!keymap)
        return false;
    return std::any_of(codes.begin(), codes.end(), [&keymap](xcb_keycode_t code) {
        return (keymap->keys[code / 8] >> (code % 8)) & 1;
    });
}

} // namespace platform
