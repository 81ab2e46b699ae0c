"""The real program driven as a player drives it: under an X server of its
own, against a club server of its own, with real mouse and keyboard input.

    player_runs.py RUN --game BIN --server BIN --club-file FILE
                   --source-dir DIR --artifacts DIR

RUN is one of:
  start     intro, font window, menu, "Выход"; the next start without the
            font window once the player has turned it off
  about     a right click on the menu, «О Программе», its "Ok"
  deal      a new player's deal played with the keyboard, left with
            «Выход в меню» from a right click on the board
  register  a new club member in the account window, the lamps yellow
  screenreader
            keyboard alone: the menu to a new player's deal, every letter,
            "Дальше"; after each key the program's accessibility tree (read
            through AT-SPI, as a screen reader reads it) tells what the
            screen shows.  Needs a D-Bus session (dbus-run-session).

A failed run keeps a screenshot and the logs in ARTIFACTS/e2e/.

Positions are the game's own, in window pixels of the first start's window
size (760 x 500): the layouts in logic/game/menu_layout.cpp, logic/game/board_layout.cpp
and the dialogs' own sizes.  What could move with the platform (a tab bar's
height, the rows of a popup menu) is found on the screen instead.
"""

import argparse
import os
import signal
import sqlite3
import sys
import time

from e2e_harness import SCREEN_H, SCREEN_W, Failure, Run, find_picture, menu_rows, shows_picture, wait_until

MAIN_SIZE = (760, 500)
PRODUCT = "Вокаброн"
# The main menu (window size 1).
INERT_SPOT = (700, 470)       # menu background under the clock, the intro picture before it
NEW_PLAYER = (380, 395)       # "Новый Игрок"
EXIT_BUTTON = (380, 450)      # "Выход"
ACCOUNT_ICON = (135, 29)      # the face with the lamp
MENU_LAMP = (135, 5)          # its 24 x 24 lamp
# The game screen (window size 1).
BOARD_CENTRE = (380, 206)
BUTTON_8 = (36, 250, 90, 30)  # "Выход"
BUTTON_N = (634, 250, 90, 30) # "Дальше"
LETTER_KEYS = (64, 400, 632, 80)
# The 32 letter keys as the Latin layout has them: each gives the Russian
# letter on the same key (q is й, [ is х), so these are all 32 letters.
LATIN_KEYS = ["q", "w", "e", "r", "t", "y", "u", "i", "o", "p", "bracketleft", "bracketright",
              "a", "s", "d", "f", "g", "h", "j", "k", "l", "semicolon", "apostrophe",
              "z", "x", "c", "v", "b", "n", "m", "comma", "period"]
# The popup menu's items, in the order the window makes them.
POPUP_ITEMS = ["Общий счёт", "Выход в меню", "Изменить имя", "Помощь", "О Программе", "Чат"]


def dialog_title(caption):
    """Qt shows a dialog as "<its caption> — <application name>" once the
    start-up has named the application."""
    return f"{caption} — {PRODUCT}"


def is_aqua(r, g, b):
    return r < 80 and g > 190 and b > 190


class Player:
    """A run seen through the player's eyes: windows by their titles and
    places, pictures at the game's own positions."""

    def __init__(self, run, source_dir):
        self.run, self.x = run, run.x
        self.png = lambda name: os.path.join(source_dir, "resources", "png", name + ".png")
        self.main = None
        self.origin = (0, 0)

    # ---- windows ----

    def windows_titled(self, title):
        found = []
        for w in self.x.windows():
            if self.x.title(w) == title:
                geometry = self.x.geometry(w)
                if geometry:
                    found.append((w, geometry))
        return found

    def wait_window(self, title, size=None, timeout=15, exclude=()):
        """The visible window of this title (and size); its id and geometry."""
        def found():
            for w, geometry in self.windows_titled(title):
                if w not in exclude and (size is None or geometry[2:] == size):
                    return w, geometry
            return None
        return wait_until(f"the window {title!r}" + (f" of {size[0]} x {size[1]}" if size else ""), found, timeout)

    def wait_gone(self, window, what, timeout=10):
        wait_until(f"{what} to close", lambda: window not in self.x.windows(), timeout)

    def expect_centred_on_main(self, geometry, what):
        mx, my, mw, mh = self.main_geometry()
        x, y, w, h = geometry
        if abs((x + w / 2) - (mx + mw / 2)) > 1 or abs((y + h / 2) - (my + mh / 2)) > 1:
            raise Failure(f"{what} at {geometry} is not centred on the main window at {(mx, my, mw, mh)}")

    def expect_over_main(self, geometry, what):
        """For the boxes that Qt places itself: on the main window.  (With no
        window manager Qt guesses a frame and puts them a little up and to
        the left of the middle.)"""
        mx, my, mw, mh = self.main_geometry()
        x, y, w, h = geometry
        if x < mx or y < my or x + w > mx + mw or y + h > my + mh:
            raise Failure(f"{what} at {geometry} is not on the main window at {(mx, my, mw, mh)}")

    def main_geometry(self):
        geometry = self.x.geometry(self.main)
        if geometry is None:
            raise Failure("the main window is gone")
        return geometry

    def expect_main(self, title=PRODUCT):
        """The main window as the player sees it between windows: its title,
        its size, in the middle of the screen."""
        actual = self.x.title(self.main)
        x, y, w, h = self.main_geometry()
        if actual != title or (w, h) != MAIN_SIZE:
            raise Failure(f"main window: {actual!r} {w} x {h}, expected {title!r} {MAIN_SIZE[0]} x {MAIN_SIZE[1]}")
        if (x, y) != ((SCREEN_W - w) // 2, (SCREEN_H - h) // 2):
            raise Failure(f"main window at {x}, {y}: not in the middle of the screen")

    # ---- pointer and pictures, in window coordinates ----

    def click(self, at, button=1, window=None):
        ox, oy = self.origin if window is None else window[:2]
        self.x.click(ox + at[0], oy + at[1], button)

    def shows(self, picture, at, window=None, screen=None):
        ox, oy = self.origin if window is None else window[:2]
        return shows_picture(screen or self.run.screen(), self.png(picture), ox + at[0], oy + at[1])

    def area(self, box, window=None):
        ox, oy = self.origin if window is None else window[:2]
        x, y, w, h = box
        return self.run.screen().crop(ox + x, oy + y, w, h)

    def menu_lamp(self):
        """The lamp of the menu's account icon, or None with no menu up."""
        screen = self.run.screen()
        for lamp in ("LampR24", "LampY24", "LampG24"):
            if self.shows(lamp, MENU_LAMP, screen=screen):
                return lamp
        return None

    # ---- the start ----

    def start_game(self):
        self.run.game.start()
        self.main, geometry = self.wait_window("Vokabron", MAIN_SIZE)
        self.origin = geometry[:2]
        self.expect_main("Vokabron")

    def close_font_window(self, never_again=False):
        font, geometry = self.wait_window("Шрифты", (385, 195), timeout=30)
        # The main window keeps the intro's caption until the start-up
        # sequence that follows the font window.
        self.expect_main("Vokabron")
        if never_again:
            self.click((13, 178), window=geometry)  # "Больше не показывать это окно"
        self.click((188, 140), window=geometry)     # "Ok"
        self.wait_gone(font, "the font window")

    def end_intro(self, watch_for=None):
        """Clicks the intro, as an impatient player does, until the menu is
        there; a window titled watch_for showing up meanwhile fails."""
        def menu_up():
            if watch_for and self.windows_titled(watch_for):
                raise Failure(f"the window {watch_for!r} came up")
            if self.menu_lamp():
                return True
            self.click(INERT_SPOT)
            time.sleep(0.2)
            return False
        wait_until("the main menu", menu_up, timeout=30)
        self.expect_main()

    def leave_by_exit_button(self):
        self.click(EXIT_BUTTON)
        status = self.run.game.wait_exit()
        if status != 0:
            raise Failure(f"the game ended with {status}")

    def reach_menu(self):
        self.start_game()
        self.close_font_window()
        self.end_intro()

    # ---- the popup menu ----

    def open_popup(self, at):
        """Right-clicks at a window position: the popup that opens at the
        pointer, its geometry and its rows {item: (centre y, enabled)}."""
        before = set(self.x.windows())
        self.click(at, button=3)
        target = (self.origin[0] + at[0], self.origin[1] + at[1])

        def popup():
            for w in set(self.x.windows()) - before:
                geometry = self.x.geometry(w)
                if geometry and geometry[:2] == target:
                    return w, geometry
            return None
        window, geometry = wait_until("the popup menu at the pointer", popup, timeout=5)

        def drawn():
            # Read twice alike: the popup is drawn once it is mapped.
            rows = menu_rows(self.run.screen().crop(*geometry))
            return len(rows) == len(POPUP_ITEMS) and rows == menu_rows(self.run.screen().crop(*geometry)) and rows
        rows = wait_until("the popup menu's items", drawn, timeout=5)
        return window, geometry, dict(zip(POPUP_ITEMS, rows))

    def pick(self, popup, item):
        _, geometry, rows = popup
        y, enabled = rows[item]
        if not enabled:
            raise Failure(f"«{item}» is not offered")
        self.x.click(geometry[0] + geometry[2] // 2, geometry[1] + y)


def offered(popup):
    return [item for item, (_, enabled) in popup[2].items() if enabled]


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


# ---- The runs --------------------------------------------------------------------


def run_start(player, game, server):
    """Intro, font window, menu; "Выход" ends the program; a player who
    ticked "Больше не показывать это окно" starts without it next time."""
    player.start_game()
    player.close_font_window(never_again=True)
    player.end_intro()
    if not os.path.exists(game.settings_file):
        raise Failure("no settings file beside the program after the start-up")
    player.leave_by_exit_button()

    player.start_game()
    player.end_intro(watch_for="Шрифты")
    player.leave_by_exit_button()


def run_about(player, game, server):
    """A right click on the menu opens its popup; «О Программе» there opens
    the About window, its "Ok" closes it; the popup comes again after it."""
    player.reach_menu()
    popup = player.open_popup(INERT_SPOT)
    if offered(popup) != ["Помощь", "О Программе", "Чат"]:
        raise Failure(f"the menu's popup offers {offered(popup)}")
    player.pick(popup, "О Программе")
    about, geometry = player.wait_window(dialog_title("О Программе"), (525, 720))
    player.expect_centred_on_main(geometry, "the About window")
    player.click((262, 700), window=geometry)  # "Ok"
    player.wait_gone(about, "the About window")
    player.expect_main()

    # Over the title picture this time; Escape closes the popup unused.
    popup = player.open_popup((380, 70))
    player.x.key("Escape")
    player.wait_gone(popup[0], "the popup")
    if player.windows_titled(dialog_title("О Программе")):
        raise Failure("Escape on the popup opened the About window")
    player.expect_main()
    if player.menu_lamp() != "LampR24":
        raise Failure("the menu is not shown after the About window")


def run_deal(player, game, server):
    """A new player plays one deal with the keyboard and leaves it with
    «Выход в меню»: the game is lost, the club file stays as it was."""
    player.reach_menu()
    club_before = read_bytes(game.club_file)

    player.click(NEW_PLAYER)
    password, geometry = player.wait_window(dialog_title("Добро пожаловать!"), (440, 350))
    player.expect_centred_on_main(geometry, "the password window")
    # "Инкогнито" with no password: Enter starts the game.
    player.x.key("Return")
    player.wait_gone(password, "the password window")
    wait_until("the deal's letter keys", lambda: player.menu_lamp() is None
               and player.area(LETTER_KEYS).count(is_aqua) > 1500, timeout=10)
    player.expect_main()
    for box, name in ((BUTTON_8, "Выход"), (BUTTON_N, "Дальше")):
        if player.area(box).count(is_aqua):
            raise Failure(f"«{name}» is offered before the deal is solved")

    # Every letter once, from the Latin layout: the deal is solved whatever
    # the answer (the keys after the solving letter find the keys off).
    player.x.key(*LATIN_KEYS)
    wait_until("«Выход» and «Дальше» offered after the deal is solved",
               lambda: all(player.area(box).count(is_aqua) > 20 for box in (BUTTON_8, BUTTON_N)), timeout=10)

    popup = player.open_popup(BOARD_CENTRE)
    if offered(popup) != POPUP_ITEMS:
        raise Failure(f"the popup in a deal offers {offered(popup)}")
    main_windows = {player.main}
    player.pick(popup, "Выход в меню")
    question, geometry = player.wait_window(PRODUCT, exclude=main_windows, timeout=5)
    player.expect_over_main(geometry, "the question")
    player.x.key("Return")  # "Да" is the question's default
    player.wait_gone(question, "the question")
    wait_until("the main menu after «Выход в меню»", lambda: player.menu_lamp() == "LampR24", timeout=10)
    player.expect_main()
    if read_bytes(game.club_file) != club_before:
        raise Failure("the club file changed: a game left with «Выход в меню» must not be filed")
    if not game.running():
        raise Failure("the game ended")


def run_register(player, game, server):
    """A new club member registers in the account window: the lamps turn
    yellow, the server holds the member, "Сохранить" keeps the login."""
    player.reach_menu()
    if player.menu_lamp() != "LampR24":
        raise Failure("the menu's lamp is not red before the registration")
    player.click(ACCOUNT_ICON)
    window, geometry = player.wait_window(dialog_title('КЛУБ "КВАЗАРИУМ"'), (720, 610))
    player.expect_centred_on_main(geometry, "the account window")
    header_lamps = [(34, 6), (686, 6)]
    wx, wy = geometry[:2]

    def header(lamp):
        screen = player.run.screen()
        return all(player.shows(lamp, at, window=geometry, screen=screen) for at in header_lamps)
    if not header("LampR24"):
        raise Failure("the account window's lamps are not red for a player who is not logged in")

    # The tab's own origin: where its nick lamp (red, the nick is empty)
    # stands, below the tab bar.
    found = find_picture(player.run.screen(), player.png("LampR24"), wx + 5 + 180, wy + 60 + 91,
                         wx + 5 + 180 + 10, wy + 60 + 91 + 60)
    if not found:
        raise Failure("no red lamp beside the empty nick")
    tab = (found[0] - 180, found[1] - 91)

    def at_tab(x, y):
        return (tab[0] + x - wx, tab[1] + y - wy)

    # The window reads the club while it opens and takes no clicks
    # meanwhile; it is ready when the member count is written in red,
    # between the two red frames at the foot of the tab.
    wait_until("the club's member count", lambda: player.area((100, 415, 500, 35), window=tab).count(
        lambda r, g, b: r > 200 and g < 40 and b < 40) > 50, timeout=10)

    fields = [((95, 99), "Lena_77"), ((95, 173), "tula2024"), ((325, 99), "Тула"), ((325, 173), "lena@example.org")]
    for (x, y), text in fields:
        player.click(at_tab(x, y), window=geometry)
        player.x.type(text)
    # Green for what may be sent; a city in Russian letters may be sent
    # with reservation: yellow.
    lamps = [((180, 91), "LampG24", "nick"), ((180, 165), "LampG24", "password"),
             ((410, 91), "LampY24", "city"), ((410, 165), "LampG24", "e-mail")]
    for at, lamp, field in lamps:
        wait_until(f"the {field} lamp {lamp}", lambda: player.shows(lamp, at, window=tab), timeout=5)

    before = set(player.x.windows())
    days = {time.strftime("%d.%m.%Y")}
    player.click(at_tab(575, 102), window=geometry)  # "Создать аккаунт"
    notice, _ = player.wait_window(dialog_title("Attention"), exclude=before, timeout=15)
    player.x.key("Return")
    player.wait_gone(notice, "the notice")
    wait_until("the account window's lamps turned yellow", lambda: header("LampY24"), timeout=15)
    days.add(time.strftime("%d.%m.%Y"))

    db = sqlite3.connect(f"file:{server.db}?mode=ro", uri=True)
    try:
        row = db.execute("SELECT id, nick, pw_hash, city, country_key, country_code, sex, email, date_reg "
                         "FROM member").fetchall()
        if len(row) != 1:
            raise Failure(f"the club holds {len(row)} members")
        sessions = db.execute("SELECT COUNT(*) FROM session WHERE member_id = ?", (row[0][0],)).fetchone()[0]
    finally:
        db.close()
    _, nick, pw_hash, city, country_key, country_code, sex, email, date_reg = row[0]
    expected = ("Lena_77", "Тула", "Russia", "1-001", "M", "lena@example.org")
    if (nick, city, country_key, country_code, sex, email) != expected or date_reg not in days:
        raise Failure(f"the member row {row[0][1:]} is not {expected} registered on {' or '.join(sorted(days))}")
    if not pw_hash.startswith("$argon2id$") or "tula2024" in pw_hash:
        raise Failure("the password is not kept as an Argon2id hash")
    if sessions < 1:
        raise Failure("the new member was not logged in")

    before = set(player.x.windows())
    player.click(at_tab(575, 262), window=geometry)  # "Сохранить"
    user_file = os.path.join(os.path.dirname(game.dir), "TevUser.tev")
    wait_until("the user file above the program's folder", lambda: os.path.exists(user_file), timeout=5)
    # The save is confirmed: whose login the next start uses.
    saved, _ = player.wait_window(dialog_title("Attention"), exclude=before, timeout=10)
    player.x.key("Return")
    player.wait_gone(saved, "the save's notice")

    player.click((360, 572), window=geometry)  # "Ok"
    player.wait_gone(window, "the account window")
    wait_until("the menu's lamp turned yellow", lambda: player.menu_lamp() == "LampY24", timeout=10)
    player.expect_main()


# The Latin keys' Russian letters, in LATIN_KEYS order.
RUSSIAN_ON_LATIN = "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ"


class ScreenReader:
    """The program as a screen reader sees it: its tree on the AT-SPI bus,
    read anew at each look."""

    def __init__(self):
        import pyatspi  # python3-pyatspi, only this run needs it
        self.pyatspi = pyatspi
        self.app = None

    def find_app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "vokabron":
                return app
        return None

    def connect(self):
        self.app = wait_until("the program on the AT-SPI bus", self.find_app, timeout=20)

    def nodes(self):
        """Every showing object of the program, depth first, as
        (role name, name, description, states, accessible)."""
        found = []

        def walk(node, depth):
            if node is None or depth > 12:
                return
            node.clear_cache()
            states = node.getState()
            if node is not self.app and not states.contains(self.pyatspi.STATE_SHOWING):
                return
            found.append((node.getRoleName(), node.name, node.description, states, node))
            for i in range(node.childCount):
                walk(node.getChildAtIndex(i), depth + 1)
        walk(self.app, 0)
        return found

    def named(self, role, name=None):
        return [n for n in self.nodes() if n[0] == role and (name is None or n[1] == name)]

    def one(self, role, name=None):
        found = self.named(role, name)
        if len(found) != 1:
            raise Failure(f"the tree holds {len(found)} showing {role} {name!r}, expected one")
        return found[0]

    def enabled(self, node):
        return node[3].contains(self.pyatspi.STATE_ENABLED)

    def focused(self):
        found = [n for n in self.nodes() if n[3].contains(self.pyatspi.STATE_FOCUSED)]
        return found[-1][1] if found else None

    def board(self):
        """The board's cells row by row, as the table reads them."""
        table = self.one("table", "Табло")[4]
        table.clear_cache()
        return [table.getChildAtIndex(i).name for i in range(table.childCount)]


def tab_to(player, reader, name, most=40):
    """Tab until the control of that name has the focus."""
    for _ in range(most):
        if reader.focused() == name:
            return
        player.x.key("Tab")
        time.sleep(0.05)
    raise Failure(f"Tab never reached «{name}» (the focus is on {reader.focused()!r})")


def run_screenreader(player, game, server):
    """Keyboard only, with the tree checked at each step."""
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        raise Failure("no D-Bus session: run under dbus-run-session")
    game.env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"]
    game.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    reader = ScreenReader()
    player.start_game()
    font, _ = player.wait_window("Шрифты", (385, 195), timeout=30)
    player.x.key("Return")
    player.wait_gone(font, "the font window")

    def menu_up():
        if player.menu_lamp():
            return True
        player.x.key("space")
        time.sleep(0.2)
        return False
    wait_until("the main menu after a key", menu_up, timeout=30)
    # What a window manager does for a window that comes up: the keyboard
    # goes to it.
    player.x.run("windowfocus", "--sync", player.main)
    reader.connect()

    # The menu: the five member lines, a fresh club's all free; the buttons.
    lines = [n[1] for n in reader.named("list item")]
    if lines != ["свободно"] * 5:
        raise Failure(f"the member lines read {lines}")
    for name in ("Новый Игрок", "Чемпионы", "Опции", "Выход"):
        if not reader.enabled(reader.one("push button", name)):
            raise Failure(f"«{name}» reads as disabled")

    tab_to(player, reader, "Новый Игрок")
    player.x.key("Return")
    password, _ = player.wait_window(dialog_title("Добро пожаловать!"), (440, 350))
    player.x.key("Return")
    player.wait_gone(password, "the password window")
    player.x.run("windowfocus", "--sync", player.main)
    wait_until("the board in the tree", lambda: reader.named("table", "Табло"), timeout=10)

    board = reader.board()
    closed = board.count("закрыто")
    theme = reader.one("table", "Табло")[2]
    if closed == 0 or not theme:
        raise Failure(f"the board reads {board} under the theme {theme!r}")
    if reader.one("label", "Счёт: 1000") is None or not reader.named("label", "Кон: 1 / 20"):
        raise Failure("the score and the deal do not read 1000 and 1 / 20")
    if reader.enabled(reader.one("push button", "Дальше")):
        raise Failure("«Дальше» reads as offered before the deal is solved")

    score = 1000
    for latin, letter in zip(LATIN_KEYS, RUSSIAN_ON_LATIN):
        if closed == 0:
            break
        player.x.key(latin)
        key = wait_until(f"the key {letter} read as used",
                         lambda: [n for n in reader.named("push button", letter) if not reader.enabled(n)],
                         timeout=5)[0]
        if key[2] != "уже названа":
            raise Failure(f"the used key {letter} reads {key[2]!r}")
        now = reader.board()
        opened = [i for i, (a, b) in enumerate(zip(board, now)) if a != b]
        if any(board[i] != "закрыто" or now[i] != letter for i in opened):
            raise Failure(f"after {letter} the board went from {board} to {now}")
        if not opened:
            score -= 1
        if not reader.named("label", f"Счёт: {score}"):
            raise Failure(f"after {letter} the score does not read {score}: "
                          f"{[n[1] for n in reader.named('label')]}")
        board, closed = now, now.count("закрыто")
    if closed:
        raise Failure(f"every letter typed and the board still reads {board}")

    # Solved: "Дальше" is offered, Tab reaches it, Return takes the next deal.
    wait_until("«Дальше» offered", lambda: reader.enabled(reader.one("push button", "Дальше")), timeout=5)
    tab_to(player, reader, "Дальше")
    player.x.key("Return")
    wait_until("the second deal", lambda: reader.named("label", "Кон: 2 / 20"), timeout=10)
    if reader.board().count("закрыто") == 0:
        raise Failure("the second deal's board reads open")
    if not game.running():
        raise Failure("the game ended")


RUNS = {"start": run_start, "about": run_about, "deal": run_deal, "register": run_register,
        "screenreader": run_screenreader}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("run", choices=sorted(RUNS))
    parser.add_argument("--game", required=True)
    parser.add_argument("--server", required=True)
    parser.add_argument("--club-file", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()
    started = time.monotonic()
    with Run(args.run, args) as run:
        RUNS[args.run](Player(run, args.source_dir), run.game, run.server)
    print(f"{args.run}: passed in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    # A run stopped from outside (ctest's time limit) still takes its X
    # server, club server and game down with it.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        main()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
