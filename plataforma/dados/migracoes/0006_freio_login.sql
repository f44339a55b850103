-- The failed logins in a row of each login name, with the time of the last
-- one (milliseconds since 1970, the clock of the process that failed): every
-- process and terminal of the company counts them and waits by them.
CREATE TABLE login_falha (
  login TEXT PRIMARY KEY,
  seguidas INTEGER NOT NULL,
  ultima BIGINT NOT NULL
);
