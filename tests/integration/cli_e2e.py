#!/usr/bin/env python3
"""velmo-cli end to end: whole send and receive runs through folders, FTP and HTTP.

Usage: cli_e2e.py CLI LIBRARY [RUNNER]
CLI is velmo-cli or velmo-cli.exe, LIBRARY the archiver library beside it, RUNNER the
program that runs a Windows executable (tools/wine-run) when CLI is one. Each case runs in
a fresh folder holding copies of both, as an operator's installation would.
"""
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

CLI, LIBRARY = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
RUNNER = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
WINDOWS = CLI.lower().endswith(".exe")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
failures = []
passed = 0


def sjis(text):
    return text.encode("cp932")


def program_path(path):
    """A path as the program spells it: Z:\\... under Wine, the Unix path natively."""
    return "Z:" + path.replace("/", "\\") if WINDOWS else path


class Install:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="velmo-e2e-")
        shutil.copy(CLI, self.dir)
        shutil.copy(LIBRARY, self.dir)
        self.exe = os.path.join(self.dir, os.path.basename(CLI))

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def write_ini(self, text, name="Velmo.ini"):
        with open(self.path(name), "wb") as f:
            f.write(sjis(text.replace("\n", "\r\n")))

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def run(self, *args):
        command = ([RUNNER] if RUNNER else []) + [self.exe] + list(args)
        env = dict(os.environ)
        if WINDOWS:
            env.setdefault("VELMO_WINEPREFIX", os.path.join(os.path.dirname(os.path.dirname(CLI)), "wineprefix"))
        done = subprocess.run(command, cwd=self.dir, env=env, capture_output=True, timeout=300)
        # A pipe gets the terminal's encoding natively and the bytes as they are on Windows.
        encoding = "cp932" if WINDOWS else "utf-8"
        return (done.returncode, done.stdout.decode(encoding).replace("\r\n", "\n"),
                done.stderr.decode(encoding).replace("\r\n", "\n"))

    def log(self):
        return self.read("Velmo.log").decode("cp932")

    def remove(self):
        shutil.rmtree(self.dir, ignore_errors=True)


def check(name, condition, detail=""):
    global passed
    if condition:
        passed += 1
    else:
        failures.append(f"{name}: {detail}")
        print(f"FAIL {name}: {detail}", file=sys.stderr)


def lines(output):
    """The memo lines a run printed (a pipe gets plain lines)."""
    return output.split("\n")[:-1]


def log_of(output):
    """The log file a run should have written: its memo lines, each ended by CR LF."""
    memo = lines(output)
    if memo and memo[-1] == "処理は完了しました。":  # the end message is no memo line
        memo.pop()
    return "".join(line + "\r\n" for line in memo)


def make_tree(root):
    tree = {
        "a.txt": b"hello\r\n",
        "empty.dat": b"",
        sjis_name("表\\ソフト.bin"): os.urandom(70000),
        sjis_name("表\\深い\\能.txt"): "能力".encode("cp932") * 1000,
    }
    for rel, data in tree.items():
        full = os.path.join(root, *rel.split("/"))
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
    os.makedirs(os.path.join(root, "空"), exist_ok=True)
    return tree


def sjis_name(rel):
    return rel.replace("\\", "/")


def read_tree(root):
    found = {}
    for folder, _, files in os.walk(root):
        for name in files:
            full = os.path.join(folder, name)
            with open(full, "rb") as f:
                found[os.path.relpath(full, root)] = f.read()
    return found


def send_and_receive_through_folders():
    inst = Install()
    try:
        send, dest, save = inst.path("送信ソ"), inst.path("dest"), inst.path("save")
        os.makedirs(dest)
        os.makedirs(os.path.join(save, "keep"))
        with open(os.path.join(save, "old.txt"), "wb") as f:
            f.write(b"old")
        with open(os.path.join(save, "keep", "k.txt"), "wb") as f:
            f.write(b"k")
        tree = make_tree(send)
        inst.write_ini(
            "; the operator's own comment stays\n"
            "[データ送信]\n"
            f"User=taro\nPass=secret\nReadDir={program_path(send)}\n"
            f"FTPServer={program_path(dest)}\nFTPDir=\n"
            "[データ受信]\n"
            f"User=taro\nPass=$$32B98393183A328\nWriteDir={program_path(save)}\n"
            f"CopyURL={program_path(dest)}\n")
        rc, out, err = inst.run("send")
        check("folder send exit code", rc == 0, f"rc={rc} err={err!r}")
        check("log file holds the memo lines", inst.log() == log_of(out), f"{inst.log()!r} vs {out!r}")
        memo = lines(out)
        check("send memo", memo[:1] == ["圧縮中"] and memo[-4:] == ["ワーク消去中", "処理完了", "", "処理は完了しました。"],
              repr(memo))
        check("transfer file at the destination", os.path.exists(os.path.join(dest, "taro")), repr(os.listdir(dest)))
        check("work files removed", not os.path.exists(inst.path("taro")) and not os.path.exists(inst.path("taro.$$$")))
        expected_ini = (
            "; the operator's own comment stays\n[データ送信]\n"
            f"User=taro\nPass=$$32B98393183A328\nReadDir={program_path(send)}\n"
            f"FTPServer={program_path(dest)}\nFTPDir=\n"
            "WriteDIR=UserData\nCopyURL=http://\nFTPUser=\nFTPPass=$$\nPOPCheck=0\nPOPServer=\n"
            "POPUser=\nPOPPass=$$\nNETCheck=0\nNETServer=\nNETUser=\nNETPass=$$\n"
            "[データ受信]\n"
            f"User=taro\nPass=$$32B98393183A328\nWriteDir={program_path(save)}\n"
            f"CopyURL={program_path(dest)}\n")
        check("settings file after the send", inst.read("Velmo.ini") == sjis(expected_ini.replace("\n", "\r\n")),
              inst.read("Velmo.ini").decode("cp932"))

        rc, out, err = inst.run("receive")
        check("folder receive exit code", rc == 0, f"rc={rc} err={err!r} out={out!r}")
        received = read_tree(save)
        for rel, data in tree.items():
            check(f"received {rel}", received.get(rel.replace("/", os.sep)) == data)
        check("save folder's own files emptied", "old.txt" not in received, repr(sorted(received)))
        check("sub-folders kept", received.get(os.path.join("keep", "k.txt")) == b"k")
        check("empty folder unpacked", os.path.isdir(os.path.join(save, "空")))
        check("receive log", inst.log() == log_of(out), f"{inst.log()!r} vs {out!r}")
    finally:
        inst.remove()


def wrong_password_leaves_the_save_folder():
    inst = Install()
    try:
        send, dest, save = inst.path("send"), inst.path("dest"), inst.path("save")
        os.makedirs(dest)
        os.makedirs(save)
        make_tree(send)
        with open(os.path.join(save, "mine.txt"), "wb") as f:
            f.write(b"mine")
        inst.write_ini(
            f"[データ送信]\nUser=jiro\nPass=one\nReadDir={program_path(send)}\nFTPServer={program_path(dest)}\n"
            f"FTPDir=\n[データ受信]\nUser=jiro\nPass=two\nWriteDir={program_path(save)}\nCopyURL={program_path(dest)}\n")
        rc, _, _ = inst.run("send")
        check("send before the wrong password", rc == 0)
        rc, out, err = inst.run("receive", "/N")
        check("wrong password exit code", rc == 1, f"rc={rc}")
        check("wrong password line", "パスワードが違います。" in lines(out), repr(out))
        check("no end message with /N", "処理を中止しました。" not in out + err, repr(err))
        check("log without end message", inst.log() == log_of(out), repr(inst.log()))
        check("save folder untouched", read_tree(save) == {"mine.txt": b"mine"}, repr(read_tree(save)))
    finally:
        inst.remove()


SEND_CHECKS = [
    ("User", "", "ユーザＩＤが未設定です。"),
    ("Pass", "", "パスワードが未設定です。"),
    ("NETUser", "", "ダイアルアップ接続ユーザＩＤが未設定です。"),
    ("NETPass", "", "ダイアルアップ接続パスワードが未設定です。"),
    ("POPServer", "", "ＰＯＰサーバが未設定です。"),
    ("POPUser", "", "ＰＯＰユーザＩＤが未設定です。"),
    ("POPPass", "", "ＰＯＰパスワードが未設定です。"),
    ("FTPServer", "", "送信先ＦＴＰサーバが未設定です。"),
    ("FTPDir", "", "送信先ＦＴＰフォルダが未設定です。"),
    ("FTPUser", "", "送信先ＦＴＰユーザＩＤが未設定です。"),
    ("FTPPass", "", "送信先ＦＴＰパスワードが未設定です。"),
]

RECEIVE_CHECKS = [
    ("User", "", "ユーザＩＤが未設定です。"),
    ("Pass", "", "パスワードが未設定です。"),
    ("NETUser", "", "ダイアルアップ接続ユーザＩＤが未設定です。"),
    ("NETPass", "", "ダイアルアップ接続パスワードが未設定です。"),
    ("CopyURL", "", "受信アドレスが未設定です。"),
]

COMPLETE = {
    "User": "taro", "Pass": "pw", "ReadDIR": "send", "WriteDIR": "save", "CopyURL": "http://127.0.0.1:1",
    "FTPServer": "ftp.velmo.example", "FTPDir": "/pub", "FTPUser": "u", "FTPPass": "p",
    "POPCheck": "1", "POPServer": "pop.velmo.example", "POPUser": "pu", "POPPass": "pp",
    "NETCheck": "1", "NETServer": "会社", "NETUser": "du", "NETPass": "dp",
}


def refusals():
    for verb, section, table in (("send", "データ送信", SEND_CHECKS), ("receive", "データ受信", RECEIVE_CHECKS)):
        for key, value, text in table:
            inst = Install()
            try:
                values = dict(COMPLETE, **{key: value})
                ini = f"[{section}]\n" + "".join(f"{k}={v}\n" for k, v in values.items())
                inst.write_ini(ini)
                before = inst.read("Velmo.ini")
                rc, out, err = inst.run(verb)
                check(f"{verb} refusal {key} exit code", rc == 2, f"rc={rc} out={out!r}")
                check(f"{verb} refusal {key} text", err == text + "\n", repr(err))
                check(f"{verb} refusal {key} nothing else", out == "" and not os.path.exists(inst.path("Velmo.log"))
                      and inst.read("Velmo.ini") == before)
            finally:
                inst.remove()


def ctrl_c_aborts_the_run():
    """Ctrl+C while packing: the run stops like the abort button and still cleans up."""
    if WINDOWS:
        return  # console control events do not cross from a Linux signal into Wine
    inst = Install()
    try:
        send, dest = inst.path("send"), inst.path("dest")
        os.makedirs(send)
        os.makedirs(dest)
        for i in range(6):
            with open(os.path.join(send, f"r{i}.bin"), "wb") as f:
                f.write(os.urandom(8 * 1048576))
        inst.write_ini(f"[データ送信]\nUser=abort\nPass=pw\nReadDir={send}\nFTPServer={dest}\nFTPDir=\n")
        proc = subprocess.Popen([inst.exe, "send"], cwd=inst.dir, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)
        first = proc.stdout.readline().decode("utf-8")
        proc.send_signal(signal.SIGINT)
        out, err = proc.communicate(timeout=300)
        memo = [first.rstrip("\n")] + lines(out.decode("utf-8"))
        check("Ctrl+C exit code", proc.returncode == 1, f"rc={proc.returncode} memo={memo}")
        check("Ctrl+C stops before the upload", "暗号化中止" in memo and "アップロード中" not in memo, repr(memo))
        check("Ctrl+C still cleans up", memo[-3:] == ["ワーク消去中", "処理中止", ""], repr(memo))
        check("Ctrl+C leaves no work files", not os.path.exists(inst.path("abort"))
              and not os.path.exists(inst.path("abort.$$$")) and os.listdir(dest) == [])
        check("Ctrl+C end message", err.decode("utf-8") == "処理を中止しました。\n", repr(err))
    finally:
        inst.remove()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def servers_env():
    env = {}
    path = os.environ.get("VELMO_SERVERS_ENV", os.path.join(ROOT, "build", "servers", "env"))
    if not os.path.exists(path):
        return None
    for line in open(path):
        if "=" in line and not line.startswith("#"):
            k, v = line.rstrip("\n").split("=", 1)
            env[k] = v.strip("'")
    return env


def ftp_with_pop_then_http():
    env = servers_env()
    check("servers are running", env is not None, "start them with tools/servers start")
    if env is None:
        return
    home = env["VELMO_FTP_HOME"]
    user = "e2e-" + ("win" if WINDOWS else "native")
    # A web server over the FTP server's folder: what was stored is fetched back by HTTP.
    port = free_port()
    web = subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1",
                            "--directory", home], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    inst = Install()
    try:
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                break
            except OSError:
                time.sleep(0.05)
        send, save = inst.path("send"), inst.path("save")
        tree = make_tree(send)
        inst.write_ini(
            "[データ送信]\n"
            f"User={user}\nPass=secret\nReadDir={program_path(send)}\n"
            f"FTPServer=127.0.0.1:{env['VELMO_FTP_PORT']}\nFTPDir=/\nFTPUser={env['VELMO_FTP_USER']}\n"
            f"FTPPass={env['VELMO_FTP_PASSWORD']}\nPOPCheck=1\nPOPServer=127.0.0.1:{env['VELMO_POP3_PORT']}\n"
            f"POPUser={env['VELMO_POP3_USER_ONE']}\nPOPPass={env['VELMO_POP3_PASSWORD']}\n"
            "[データ受信]\n"
            f"User={user}\nPass=secret\nWriteDir={program_path(save)}\nCopyURL=http://127.0.0.1:{port}\n")
        rc, out, err = inst.run("send")
        memo = lines(out)
        check("FTP send exit code", rc == 0, f"rc={rc} out={out} err={err!r}")
        check("POP log-in traced", "USER " + env["VELMO_POP3_USER_ONE"] in memo and "PASS *****" in memo, repr(memo))
        check("FTP password hidden", "PASS ******" in memo and env["VELMO_FTP_PASSWORD"] not in out)
        check("STOR traced", f"STOR {user}" in memo, repr(memo))
        check("upload completed", "アップロード完了" in memo, repr(memo))
        check("stored under the user ID", os.path.exists(os.path.join(home, user)))
        rc, out, err = inst.run("receive")
        check("HTTP receive exit code", rc == 0, f"rc={rc} out={out}")
        received = read_tree(save)
        for rel, data in tree.items():
            check(f"received by HTTP {rel}", received.get(rel.replace("/", os.sep)) == data)
    finally:
        web.terminate()
        web.wait()
        inst.remove()
        try:
            os.remove(os.path.join(home, user))
        except OSError:
            pass


def main():
    for case in (send_and_receive_through_folders, wrong_password_leaves_the_save_folder, refusals,
                 ctrl_c_aborts_the_run, ftp_with_pop_then_http):
        try:
            case()
        except Exception as e:  # a case that breaks must not hide the others
            check(case.__name__, False, repr(e))
    print(f"cli_e2e: {passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
