#!/usr/bin/python3
"""Drives the running tool on a virtual display the way a user would, and
takes its pictures from the screen.

Started by scripts/guide-shots.sh on an Xvfb display with its own D-Bus
session, next to a running lx47-config (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
and lx47-sim in the private network namespaces. Controls are found through
the accessibility tree by role and text, clicked and typed into with
xdotool, and each picture is the control's or window's part of the screen
(ImageMagick's import).

Usage: drive.py SCENE OUT_DIR WORK_DIR [REVIEW_DIR PREFIX]
  SCENE       not-found | devices
  OUT_DIR     where the guide's pictures go
  WORK_DIR    the run's folder (holds LX47_test.bin for the firmware scene)
  REVIEW_DIR  optional: also the look-review pictures, named PREFIX<name>.png
"""

import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30  # seconds any one window or control may take to show up
APP_CAPTION = "Orvane LX47 Configuration Tool"


class Failure(Exception):
    pass


# ------------------------------------------------------------ the screen

def xdo(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True)


def settle(seconds=0.6):
    """Lets the tool repaint after an action before the screen is read."""
    time.sleep(seconds)


def rect_of(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (e.x, e.y, e.width, e.height)


def union(*rects):
    x0 = min(r[0] for r in rects)
    y0 = min(r[1] for r in rects)
    x1 = max(r[0] + r[2] for r in rects)
    y1 = max(r[1] + r[3] for r in rects)
    return (x0, y0, x1 - x0, y1 - y0)


def grow(r, by):
    x, y, w, h = r
    x0, y0 = max(0, x - by), max(0, y - by)
    return (x0, y0, x + w + by - x0, y + h + by - y0)


def save(rect, path):
    x, y, w, h = rect
    subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path], check=True)
    print(f"drive: {path} ({w}x{h})", flush=True)


def click(acc):
    x, y, w, h = rect_of(acc)
    xdo("mousemove", x + w // 2, y + h // 2)
    time.sleep(0.15)
    xdo("click", 1)


def hover(acc, seconds):
    x, y, w, h = rect_of(acc)
    xdo("mousemove", x + w // 2, y + h // 2)
    time.sleep(seconds)


def key(*names):
    xdo("key", "--delay", 60, *names)


def type_text(text):
    xdo("type", "--delay", 30, text)


# ------------------------------------------------------ the accessible tree

def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for a in desktop:
        if a is not None and a.name == "lx47-config":
            return a
    return None


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        c = acc.getChildAtIndex(i)
        if c is not None:
            yield from walk(c)


def on_screen(acc):
    try:
        if not acc.getState().contains(pyatspi.STATE_SHOWING):
            return False
        return rect_of(acc)[2] > 0
    except Exception:
        return False


def wait_for(what, probe, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = probe()
        except Exception:
            found = None
        if found is not None:
            return found
        time.sleep(0.25)
    raise Failure(f"{what} did not show up within {timeout} s")


def windows():
    app = application()
    if app is None:
        return []
    return [w for w in (app.getChildAtIndex(i) for i in range(app.childCount)) if w is not None and on_screen(w)]


def window(what, name=None, holding=None, timeout=TIMEOUT):
    """A top-level window of the tool: by its title, or by a text it holds
    (the beginning of the text is enough)."""
    def probe():
        for w in reversed(windows()):
            if name is not None and w.name != name and not (name.endswith("*") and w.name.startswith(name[:-1])):
                continue
            if holding is not None and find_in(w, starts=holding) is None:
                continue
            return w
        return None
    return wait_for(what, probe, timeout)


def find_in(root, role=None, name=None, starts=None):
    for acc in walk(root):
        if role is not None and acc.getRoleName() != role:
            continue
        if name is not None and acc.name != name:
            continue
        if starts is not None and not acc.name.startswith(starts):
            continue
        if on_screen(acc):
            return acc
    return None


def control(root, what, role=None, name=None, starts=None, timeout=TIMEOUT):
    return wait_for(what, lambda: find_in(root, role, name, starts), timeout)


def gone(what, acc, timeout=TIMEOUT):
    wait_for(what + " to close", lambda: True if not on_screen(acc) else None, timeout)


def message_box(what, text_start=None, timeout=TIMEOUT):
    """The tool's message box (its caption is the tool's), optionally the one
    whose text begins with text_start."""
    def probe():
        for w in reversed(windows()):
            if w.name not in (APP_CAPTION, "lx47-config") or find_in(w, role="push button") is None:
                continue
            if text_start is None or find_in(w, starts=text_start) is not None:
                return w
        return None
    return wait_for(what, probe, timeout)


# ------------------------------------------------------------- the scenes

class Shots:
    def __init__(self, out, review=None, prefix=""):
        self.out, self.review, self.prefix = out, review, prefix

    def guide(self, rect, name):
        save(rect, f"{self.out}/{name}")

    def look(self, rect, name):
        if self.review:
            save(rect, f"{self.review}/{self.prefix}{name}.png")


def main_window():
    return window("the main window", name=APP_CAPTION + "  Ver*")


def bottom_button(main, text):
    return control(main, f"the button {text}", role="push button", name=text)


def page_tabs(main):
    return control(main, "the page tabs", role="page tab list")


def tab_area(main):
    """The tab control with its page: the parent of the tab list."""
    tabs = page_tabs(main)
    return tabs.parent


def open_search_dialog(main):
    click(bottom_button(main, "LX47の検索"))
    return window("the search dialog", holding="検索実行")


def search(main, shots=None):
    dlg = open_search_dialog(main)
    # Into the password edit, as a user would before typing: the dialog is
    # then the active window with the focus where the tool puts it.
    click(control(dlg, "the password edit", role="password text"))
    settle()
    if shots:
        shots.guide(rect_of(dlg), "search_dialog.png")
        shots.look(rect_of(dlg), "search-dialog")
        one = control(dlg, "the one-device box", role="check box", starts="１台のみ検出")
        click(one)
        settle()
        shots.look(rect_of(dlg), "search-dialog-one-device")
        click(one)
        settle(0.3)
    click(control(dlg, "検索実行", role="push button", name="検索実行"))
    progress = window("the progress dialog", holding="LX47の検索中", timeout=10)
    if shots:
        settle(1.0)
        shots.guide(rect_of(progress), "progress_search.png")
    gone("the progress dialog", progress, timeout=120)
    settle(1.0)


def device_rows(main):
    table = control(main, "the device list", role="table")
    return [c for c in walk(table) if c.getRoleName() == "table cell" and on_screen(c)]


def window_menu_button(main):
    """The button at the window's top right that holds the window menu."""
    buttons = [b for b in walk(main) if b.getRoleName() == "push button" and on_screen(b)]
    return min(buttons, key=lambda b: rect_of(b)[1])


def open_window_menu(main):
    click(window_menu_button(main))
    return wait_for("the window menu",
                    lambda: next((m for m in walk(application()) if m.getRoleName() in ("menu", "popup menu")
                                  and on_screen(m) and find_in(m, name="ツール設定...") is not None), None), 5)


def window_menu_entry(main, text):
    """Opens the window menu and picks an entry; from the keyboard where the
    menu is not in the accessible tree (an older build)."""
    try:
        menu = open_window_menu(main)
    except Failure:
        key("Escape")
        settle(0.3)
        click(window_menu_button(main))
        settle(0.5)
        key(*(["Down"] * (1 if text.startswith("LX47") else 2)), "Return")
        return
    click(control(menu, text, name=text))


def scene_not_found(shots):
    main = main_window()
    settle(1.0)
    dlg = open_search_dialog(main)
    click(control(dlg, "検索実行", role="push button", name="検索実行"))
    box = message_box("the not-found message", "デバイスは見つかりません。", timeout=120)
    settle()
    shots.guide(rect_of(box), "msg_not_found.png")
    click(control(box, "OK", role="push button"))


def scene_devices(shots, work):
    main = main_window()
    settle(1.0)
    search(main, shots)
    wait_for("three devices in the list", lambda: True if len(device_rows(main)) >= 9 else None, 30)
    settle(1.0)
    shots.guide(rect_of(main), "main_window.png")
    shots.guide(rect_of(main), "run_sh_three_devices.png")
    shots.look(rect_of(main), "main-window")

    # The pages.
    tabs = page_tabs(main)
    for tab, name in (("ネットワーク設定", "page_network.png"), ("シリアル設定", "page_serial.png"),
                      ("オプション設定", "page_option.png"), ("LX47 Wi-Fi接続設定", "page_wifi.png"),
                      ("LX47 特別設定", "page_extra_settings.png")):
        click(control(tabs, tab, role="page tab", name=tab))
        settle()
        shots.guide(rect_of(tab_area(main)), name)
        if name == "page_wifi.png":
            shots.look(rect_of(tab_area(main)), "wifi-page")

    # The router selection dialog, from the Wi-Fi page.
    click(control(tabs, "the Wi-Fi tab", role="page tab", name="LX47 Wi-Fi接続設定"))
    settle()
    click(control(main, "the router button", role="push button", name="Wi-Fiルーターをサーチして選択"))
    routers = window("the router dialog", name="Wifi ルーターの選択", timeout=60)
    first = wait_for("a router in the list",
                     lambda: next((c for c in walk(routers) if c.getRoleName() == "list item" and on_screen(c)), None),
                     60)
    settle(1.0)
    click(first)
    settle()
    shots.guide(rect_of(routers), "select_router.png")
    shots.look(rect_of(routers), "router-dialog")
    click(control(routers, "キャンセル", role="push button", name="キャンセル"))
    gone("the router dialog", routers)

    click(control(tabs, "the Network tab", role="page tab", name="ネットワーク設定"))
    settle()

    # A write.
    click(bottom_button(main, "設定"))
    box = message_box("the write message", timeout=60)
    settle()
    shots.guide(rect_of(box), "msg_write_done.png")
    click(control(box, "OK", role="push button"))
    gone("the write message", box)
    settle(1.5)

    # The window menu.
    menu = None
    try:
        menu = open_window_menu(main)
        settle()
        mx, my, mw, mh = rect_of(main)
        area = union(rect_of(menu), (mx + mw - 300, my, 300, 40))
        shots.guide(grow(area, 6), "window_menu.png")
        shots.look(grow(area, 6), "window-menu")
    except Failure:
        pass
    key("Escape")
    settle(0.5)

    # Tool settings.
    window_menu_entry(main, "ツール設定...")
    tools = window("the tool settings", name="ツール設定")
    settle()
    shots.look(rect_of(tools), "tool-settings")
    # For the guide with its list of adapters open.
    click(control(tools, "the host list", role="combo box"))
    try:
        item = wait_for("the adapter list",
                        lambda: next((c for c in walk(application()) if c.getRoleName() == "list item"
                                      and on_screen(c) and c.name == "全てをスキャン"), None), 5)
        settle()
        shots.guide(union(rect_of(tools), rect_of(item.parent)), "tool_settings.png")
    except Failure:
        shots.guide(rect_of(tools), "tool_settings.png")
    key("Escape")
    settle(0.3)
    click(control(tools, "キャンセル", role="push button", name="キャンセル"))
    gone("the tool settings", tools)

    # Firmware update of the shown device.
    click(bottom_button(main, "ファーム更新"))
    files = window("the file dialog", name="LX47 に書き込むファームファイルを選択してください。")
    settle(1.5)
    shots.look(rect_of(files), "file-dialog")
    key("ctrl+a")
    type_text(f"{work}/LX47_test.bin")
    key("Return")
    box = message_box("the firmware question", "ファームウェアのアップデートを行います。")
    settle()
    shots.guide(rect_of(box), "fw_confirm.png")
    click(control(box, "はい", role="push button", starts="はい"))
    window("the firmware progress", holding="ファームの書き込み中", timeout=20)
    settle(1.5)  # the bar has moved on
    progress = window("the firmware progress", holding="ファームの書き込み中", timeout=5)
    shots.guide(rect_of(progress), "firmware_update.png")
    box = message_box("the firmware message", "ファームのアップデートが完了しました。", timeout=180)
    settle()
    shots.guide(rect_of(box), "fw_done.png")
    click(control(box, "OK", role="push button"))
    # The search that follows the update.
    wait_for("the device after the update", lambda: True if len(device_rows(main)) >= 3 else None, 120)
    settle(2.0)

    # Factory reset of the shown device.
    window_menu_entry(main, "LX47 の初期化...")
    reset = window("the factory reset dialog", name="LX47 の初期化")
    settle()
    shots.guide(rect_of(reset), "factory_reset.png")
    click(control(reset, "OK", role="push button", name="OK"))
    box = message_box("the reset question", "LX47（MACアドレス")
    settle()
    shots.guide(rect_of(box), "reset_confirm.png")
    click(control(box, "はい", role="push button", starts="はい"))
    box = message_box("the reset message", "初期化（ファクトリーリセット）を行いました。", timeout=120)
    settle()
    shots.guide(rect_of(box), "reset_done.png")
    click(control(box, "OK", role="push button"))
    settle(6.0)

    # Last, as it leaves an edit that is never written: the Network page
    # with the widest octets in its address edits.
    if shots.review:
        search(main)
        wait_for("the devices again", lambda: True if len(device_rows(main)) >= 9 else None, 30)
        settle(1.0)
        group = control(main, "the address group", role="panel", name="IP アドレス")
        fields = [f for f in walk(group) if f.getRoleName() == "text" and on_screen(f)]
        click(fields[0])
        key("ctrl+a")
        type_text("255255255255")
        settle()
        shots.look(rect_of(group), "address-edits")

    # The window menu's button as a new user meets it: the pointer resting
    # on it. Last, as its tooltip is a window of its own that the display
    # without a window manager may leave the focus with.
    if shots.review:
        button = window_menu_button(main)
        corner = grow(rect_of(button), 4)
        hover(button, 2.5)
        tip = next((w for w in windows() if w.getRoleName() == "tool tip"), None)
        area = union(corner, (corner[0] - 260, corner[1], 260, 60), *([rect_of(tip)] if tip else []))
        shots.look(grow(area, 4), "window-menu-button")


def main():
    if len(sys.argv) not in (4, 6):
        print(__doc__, file=sys.stderr)
        return 2
    scene, out, work = sys.argv[1:4]
    shots = Shots(out, *(sys.argv[4:6] if len(sys.argv) == 6 else ()))
    wait_for("the tool's accessible tree", application, 60)
    try:
        if scene == "not-found":
            scene_not_found(shots)
        elif scene == "devices":
            scene_devices(shots, work)
        else:
            print(f"drive: unknown scene {scene}", file=sys.stderr)
            return 2
    except Exception as e:  # a window that closed under the driver's hands, too
        subprocess.run(["import", "-window", "root", f"{work}/failed-{scene}.png"])
        print(f"drive: {scene}: {e}; the screen is in {work}/failed-{scene}.png", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
