#!/usr/bin/env bash
# A private Dovecot POP3 server for the tests and the benchmark: its own
# configuration, users and maildirs in a folder of its own, listening on a
# free loopback port. It touches no system-wide service.
#
#   dovecot-test-server.sh start DIR [BULK_COUNT]   prints the port
#   dovecot-test-server.sh stop DIR
#
# Users (password = user name + "-pw"):
#   alice  a few fixed messages with ISO-2022-JP encoded-word headers
#   bulk   BULK_COUNT generated messages (default 0)
#   demo   a handful of everyday Japanese mails for scripts/run.sh's demo; one
#          is an advertisement marked 未承認広告, the demo's NG word
#   headers  subjects and senders as mail writes them: UTF-8 B and Q words, a
#          character split across words, ISO-2022-JP with the code page 932
#          rows, raw 8-bit text, a Latin-1 word, a folded subject
# DIR/env holds TOLVANE_DOVECOT_PORT, _USER and _PASSWORD for alice.
set -euo pipefail

mail_user=tolvane-mail
PATH=$PATH:/usr/sbin:/sbin

die() { echo "dovecot-test-server: $*" >&2; exit 1; }

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

port_open() {
  python3 - "$1" <<'PY'
import socket, sys
s = socket.socket()
s.settimeout(0.5)
try:
    s.connect(("127.0.0.1", int(sys.argv[1])))
    sys.exit(0 if s.recv(64).startswith(b"+OK") else 1)
except OSError:
    sys.exit(1)
PY
}

# Writes the maildirs. The message order is the order of the file names,
# whose time stamps rise with the message number.
fill_mailboxes() {
  python3 - "$1" "$2" <<'PY'
import base64, os, sys

home, bulk = sys.argv[1], int(sys.argv[2])

def jis_word(text):
    return "=?ISO-2022-JP?B?" + base64.b64encode(text.encode("iso2022_jp")).decode() + "?="

def write(user, messages):
    cur = os.path.join(home, user, "Maildir", "cur")
    for sub in ("cur", "new", "tmp"):
        os.makedirs(os.path.join(home, user, "Maildir", sub), exist_ok=True)
    for i, headers in enumerate(messages, 1):
        body = "\r\n".join(headers) + "\r\n\r\nbody of message %d\r\n" % i
        data = body.encode("latin-1")
        name = "%d.M%dP1.tolvane,S=%d:2,S" % (1700000000 + i, i, len(data))
        with open(os.path.join(cur, name), "wb") as f:
            f.write(data)

fixed = [
    ["From: " + jis_word("山田太郎") + " <yamada@example.jp>",
     "Subject: " + jis_word("会議のお知らせ"),
     "To: alice@example.jp"],
    ["Received: from example.jp",
     "Subject: Hello from Dovecot",
     "From: bob@example.com"],
    # a folded subject, listed whole
    ["Subject: " + jis_word("長い件名の") ,
     " " + jis_word("続きです"),
     "From: " + jis_word("広告") + " <ad@example.jp>"],
    # no sender line, a lower-case subject line, then the real one
    ["subject: lower case",
     "Subject: Re: " + jis_word("広告") + " test"],
]
write("alice", fixed)
write("demo", [
    ["From: " + jis_word("佐藤花子") + " <hanako@example.jp>",
     "Subject: " + jis_word("週末の打ち合わせについて")],
    ["From: " + jis_word("田中一郎") + " <ichiro@example.jp>",
     "Subject: " + jis_word("資料をお送りします")],
    ["From: shop@example.com",
     "Subject: " + jis_word("未承認広告※今だけ半額セール")],
    ["From: Tolvane <info@example.org>",
     "Subject: Welcome to Tolvane"],
    ["From: " + jis_word("鈴木") + " <suzuki@example.jp>",
     "Subject: Re: " + jis_word("来週の予定")],
])

def utf8_b(text):
    return "=?UTF-8?B?" + base64.b64encode(text.encode()).decode() + "?="

def q_text(data):
    return "".join("=%02X" % b for b in data)

def raw(text, codec):
    # 8-bit header bytes, carried through the latin-1 encoding of write()
    return text.encode(codec).decode("latin-1")

nihongo = "日本語".encode()
write("headers", [
    ["Subject: " + utf8_b("会議のお知らせ"),
     "From: =?utf-8?q?" + q_text("山田".encode()) + "?= <yamada@example.jp>"],
    # 日 cut between two Q words
    ["Subject: =?UTF-8?Q?" + q_text(nihongo[:2]) + "?= =?utf-8?Q?" + q_text(nihongo[2:]) + "?=",
     "From: =?shift_jis?B?" + base64.b64encode("佐藤".encode("cp932")).decode() + "?= <sato@example.jp>"],
    # ①㈱髙﨑: NEC row 13 and NEC-selected IBM extensions
    ["Subject: =?iso-2022-jp?B?GyRCLSEtanxieXUbKEI=?=",
     "From: " + raw("鈴木", "utf-8") + " <suzuki@example.jp>"],
    ["Subject: " + raw("Re: 日本", "cp932"),
     "From: =?iso-8859-1?Q?Ren=E9?= <rene@example.fr>"],
    ["Subject: " + utf8_b("広告のお知らせ"),
     "From: ad@example.jp"],
    ["Subject: " + utf8_b("長い件名は三行に"),
     " " + utf8_b("折り返されて"),
     "\t" + utf8_b("届きます"),
     "From: fold@example.jp"],
])
write("bulk", [["From: " + jis_word("送信者%d" % i) + " <s%d@example.jp>" % i,
                "Subject: " + jis_word("お知らせ第%d号" % i),
                "Message-ID: <%d@example.jp>" % i] for i in range(1, bulk + 1)])
PY
}

start() {
  local dir=$1 bulk=${2:-0}
  command -v dovecot >/dev/null || die "dovecot is not installed (dovecot-core dovecot-pop3d)"
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  [[ -f $dir/run/master.pid ]] && stop "$dir"
  rm -rf "$dir/home" "$dir/run" "$dir/state"
  mkdir -p "$dir/home" "$dir/run" "$dir/state"
  # Dovecot's unprivileged processes read the configuration and passwd file.
  chmod 755 "$dir"
  local up=$dir
  while [[ $(id -u) == 0 && $up != / ]]; do
    up=$(dirname "$up")
    [[ $(( 0$(stat -c %a "$up") & 1 )) == 1 ]] ||
      die "$dir is inside $up, which Dovecot's own users cannot enter (mode $(stat -c %a "$up")); use a folder elsewhere, such as one made by mktemp -d"
  done

  local uid gid login_user internal_user internal_group extra=""
  if [[ $(id -u) == 0 ]]; then
    # Dovecot refuses mail access as root: the mail belongs to a user of its own.
    id "$mail_user" >/dev/null 2>&1 ||
      useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$mail_user"
    uid=$(id -u "$mail_user"); gid=$(id -g "$mail_user")
    login_user=dovenull; internal_user=dovecot; internal_group=dovecot
    id dovenull >/dev/null 2>&1 || login_user=$mail_user
    id dovecot >/dev/null 2>&1 || { internal_user=$mail_user; internal_group=$(id -gn "$mail_user"); }
  else
    uid=$(id -u); gid=$(id -g)
    login_user=$(id -un); internal_user=$(id -un); internal_group=$(id -gn)
    # Without root no chroot is possible.
    extra="service pop3-login {
  chroot =
}
service anvil {
  chroot =
}
service auth {
  user = $internal_user
}"
  fi

  fill_mailboxes "$dir/home" "$bulk"
  [[ $(id -u) == 0 ]] && chown -R "$uid:$gid" "$dir/home"

  printf '%s\n' "alice:{PLAIN}alice-pw" "bulk:{PLAIN}bulk-pw" "demo:{PLAIN}demo-pw" "headers:{PLAIN}headers-pw" \
    >"$dir/passwd"
  chmod 644 "$dir/passwd"

  local port
  port=$(free_port)
  cat >"$dir/dovecot.conf" <<CONF
# Private test instance; see scripts/dovecot-test-server.sh.
instance_name = tolvane-test-$port
base_dir = $dir/run
state_dir = $dir/state
log_path = $dir/dovecot.log
protocols = pop3
listen = 127.0.0.1
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
default_login_user = $login_user
default_internal_user = $internal_user
default_internal_group = $internal_group
first_valid_uid = 1
mail_location = maildir:~/Maildir
pop3_uidl_format = %08Xu%08Xv
# Failed logins must not slow down the next ones.
auth_failure_delay = 0
service anvil {
  unix_listener anvil-auth-penalty {
    mode = 0
  }
}
passdb {
  driver = passwd-file
  args = scheme=PLAIN username_format=%u $dir/passwd
}
userdb {
  driver = static
  args = uid=$uid gid=$gid home=$dir/home/%u
}
service pop3-login {
  inet_listener pop3 {
    address = 127.0.0.1
    port = $port
  }
  inet_listener pop3s {
    port = 0
  }
}
$extra
CONF

  dovecot -c "$dir/dovecot.conf" || { cat "$dir/dovecot.log" >&2 2>/dev/null; die "dovecot did not start"; }
  for _ in $(seq 100); do
    port_open "$port" && break
    sleep 0.1
  done
  port_open "$port" || { cat "$dir/dovecot.log" >&2 2>/dev/null; stop "$dir"; die "no POP3 greeting on port $port"; }
  printf '%s\n' "TOLVANE_DOVECOT_PORT=$port" "TOLVANE_DOVECOT_USER=alice" "TOLVANE_DOVECOT_PASSWORD=alice-pw" \
    >"$dir/env"
  # The users' homes, for tests that change a mailbox between two checks
  # (bulk's, which the tests leave empty otherwise).
  echo "TOLVANE_DOVECOT_HOME=$dir/home" >>"$dir/env"
  echo "$port"
}

stop() {
  local dir=$1 pid
  [[ -f $dir/run/master.pid ]] || return 0
  pid=$(cat "$dir/run/master.pid")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/run/master.pid"
}

case "${1:-}" in
  start) [[ $# -ge 2 ]] || die "usage: $0 start DIR [BULK_COUNT]"; start "$2" "${3:-0}" ;;
  stop) [[ $# -ge 2 ]] || die "usage: $0 stop DIR"; stop "$2" ;;
  *) die "usage: $0 start DIR [BULK_COUNT] | stop DIR" ;;
esac
