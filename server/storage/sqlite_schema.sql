-- The club's tables on SQLite.  vokabron-server runs this file on a new
-- database file and checks schema_version at every later start; a database
-- of another version is refused, never changed in place.  Raise the version
-- with every change to this file.
--
-- The tables are those of the PostgreSQL form (pg_schema.sql), but for what
-- that form keeps apart: photos are files beside the database here, and the
-- per-address limits count in each process's memory.  Every statement may
-- run again over a database made by a build from before schema versions
-- (see SqliteDialect::AdoptUnversioned), so each table and index is made
-- only where missing.

CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL);
INSERT INTO schema_version (version) VALUES (3);

CREATE TABLE IF NOT EXISTS member (
  id            INTEGER PRIMARY KEY,
  nick          TEXT NOT NULL,
  nick_fold     TEXT NOT NULL UNIQUE,
  pw_hash       TEXT NOT NULL,
  city          TEXT NOT NULL,
  country_key   TEXT NOT NULL,
  country_code  TEXT NOT NULL,
  sex           TEXT NOT NULL CHECK (sex IN ('M','W')),
  email         TEXT NOT NULL,
  date_reg      TEXT NOT NULL,
  balance       INTEGER NOT NULL DEFAULT 0 CHECK (balance BETWEEN 0 AND 2147483647),
  created_at    INTEGER NOT NULL,
  last_login_at INTEGER, last_login_client TEXT, last_login_from TEXT,
  disabled      INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS session (
  seq           INTEGER PRIMARY KEY,   -- the order sessions were made in
  token_hash    BLOB NOT NULL UNIQUE,
  member_id     INTEGER NOT NULL REFERENCES member(id),
  created_at    INTEGER NOT NULL,
  last_seen_at  INTEGER NOT NULL,
  expires_at    INTEGER NOT NULL,
  pw_check      BLOB,
  owed_debit    INTEGER,
  owed_debit_until INTEGER,
  owed_transfer_id INTEGER
);
CREATE INDEX IF NOT EXISTS session_member ON session(member_id);
-- Device tokens: the mark of a computer the member keeps a login on.
CREATE TABLE IF NOT EXISTS device (
  seq           INTEGER PRIMARY KEY,   -- the order they were made in
  token_hash    BLOB NOT NULL UNIQUE,
  member_id     INTEGER NOT NULL REFERENCES member(id),
  created_at    INTEGER NOT NULL,
  last_used_at  INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS device_member ON device(member_id);
CREATE TABLE IF NOT EXISTS info_card (
  member_id INTEGER PRIMARY KEY REFERENCES member(id),
  name1 TEXT NOT NULL DEFAULT '', name2 TEXT NOT NULL DEFAULT '', about TEXT NOT NULL DEFAULT '',
  telephone TEXT NOT NULL DEFAULT '', emailo TEXT NOT NULL DEFAULT '', website TEXT NOT NULL DEFAULT '',
  skype TEXT NOT NULL DEFAULT '', ok TEXT NOT NULL DEFAULT '', vk TEXT NOT NULL DEFAULT '',
  telegram TEXT NOT NULL DEFAULT '', facebook TEXT NOT NULL DEFAULT '', twitter TEXT NOT NULL DEFAULT '',
  instagramm TEXT NOT NULL DEFAULT '', youtube TEXT NOT NULL DEFAULT '',
  updated_at INTEGER
);
CREATE TABLE IF NOT EXISTS photo (
  member_id INTEGER PRIMARY KEY REFERENCES member(id),
  size INTEGER NOT NULL, sha256 BLOB NOT NULL, uploaded_at INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS transfer (
  id INTEGER PRIMARY KEY,
  from_member INTEGER NOT NULL REFERENCES member(id),
  to_member INTEGER NOT NULL REFERENCES member(id) CHECK (to_member <> from_member),
  amount INTEGER NOT NULL CHECK (amount > 0),
  created_at INTEGER NOT NULL,
  debit_acknowledged_at INTEGER
);
CREATE TABLE IF NOT EXISTS game_key (key TEXT PRIMARY KEY, product_gid INTEGER NOT NULL, club_gid INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS rating_cycle (
  id INTEGER PRIMARY KEY,
  member_id INTEGER NOT NULL REFERENCES member(id),
  game_key TEXT NOT NULL,
  kon INTEGER NOT NULL,
  started_at INTEGER NOT NULL,
  suspended_at INTEGER, suspended_deal INTEGER, suspended_score INTEGER,
  completed_at INTEGER, final_score INTEGER,
  wtt_row_id INTEGER REFERENCES wtt_row(id),
  reward INTEGER, reward_ack_at INTEGER,
  UNIQUE (member_id, game_key, kon)
);
CREATE TABLE IF NOT EXISTS ledger (
  id INTEGER PRIMARY KEY,
  member_id INTEGER NOT NULL REFERENCES member(id),
  delta INTEGER NOT NULL CHECK (delta <> 0),
  balance_after INTEGER NOT NULL,
  kind TEXT NOT NULL CHECK (kind IN ('transfer_out','transfer_in','reward','admin')),
  transfer_id INTEGER REFERENCES transfer(id),
  cycle_id INTEGER REFERENCES rating_cycle(id),
  created_at INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS ledger_member ON ledger(member_id);
CREATE TABLE IF NOT EXISTS game_record (
  member_id INTEGER NOT NULL REFERENCES member(id),
  game_key TEXT NOT NULL,
  kon INTEGER NOT NULL DEFAULT 0,
  sum_scores INTEGER NOT NULL DEFAULT 0,
  rating REAL NOT NULL DEFAULT 0,
  sessions INTEGER NOT NULL DEFAULT 0,
  best INTEGER NOT NULL DEFAULT 0,
  konl INTEGER NOT NULL DEFAULT 0,
  score INTEGER NOT NULL DEFAULT 0,
  r1 INTEGER NOT NULL DEFAULT 0, r2 TEXT NOT NULL DEFAULT '#',
  open_cycle_id INTEGER REFERENCES rating_cycle(id),
  open_cap INTEGER, open_floor INTEGER, open_since INTEGER,
  PRIMARY KEY (member_id, game_key)
);
CREATE INDEX IF NOT EXISTS game_rank ON game_record(game_key, rating DESC, sessions DESC, member_id);
CREATE TABLE IF NOT EXISTS wtt_board (
  gid INTEGER PRIMARY KEY,
  kind TEXT NOT NULL CHECK (kind IN ('open','readonly','club','chat')),
  accepted_total INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS wtt_row (
  id INTEGER PRIMARY KEY,
  gid INTEGER NOT NULL REFERENCES wtt_board(gid),
  score INTEGER NOT NULL,
  nick TEXT NOT NULL, country TEXT NOT NULL, city TEXT NOT NULL,
  r07 TEXT NOT NULL, r08 TEXT NOT NULL, r09 TEXT NOT NULL, r10 TEXT NOT NULL,
  member_id INTEGER REFERENCES member(id),
  created_at INTEGER NOT NULL,
  src TEXT,
  hidden INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS wtt_rank ON wtt_row(gid, hidden, score DESC, id);
CREATE INDEX IF NOT EXISTS wtt_own ON wtt_row(gid, nick, city);
CREATE INDEX IF NOT EXISTS wtt_member ON wtt_row(gid, member_id, score DESC, id);
CREATE TABLE IF NOT EXISTS stat_counter (
  gid INTEGER PRIMARY KEY,
  starts INTEGER NOT NULL DEFAULT 0, unique_starts INTEGER NOT NULL DEFAULT 0,
  likes INTEGER NOT NULL DEFAULT 0, last_like_at INTEGER,
  x1 INTEGER NOT NULL DEFAULT 0, x2 INTEGER NOT NULL DEFAULT 0, x3 INTEGER NOT NULL DEFAULT 0,
  x4 INTEGER NOT NULL DEFAULT 0, x5 INTEGER NOT NULL DEFAULT 0, x6 INTEGER NOT NULL DEFAULT 0,
  x7 INTEGER NOT NULL DEFAULT 0, x8 INTEGER NOT NULL DEFAULT 0, x9 INTEGER NOT NULL DEFAULT 0,
  x10 INTEGER NOT NULL DEFAULT 0, x11 INTEGER NOT NULL DEFAULT 0, x12 INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS like_seen (gid INTEGER NOT NULL, src TEXT NOT NULL, day TEXT NOT NULL,
  PRIMARY KEY (gid, src, day));
CREATE TABLE IF NOT EXISTS server_secret (id INTEGER PRIMARY KEY CHECK (id = 1), secret BLOB NOT NULL);
