"""A speech server that speaks nothing and writes down what it is asked to say.

    speech_server.py SOCKET LOG

It answers the Speech Synthesis Interface Protocol (SSIP) of Speech Dispatcher on a Unix
socket, as a screen reader started with SPEECHD_ADDRESS=unix_socket:SOCKET reaches it, and
appends each text it is sent to LOG, a line an utterance: the message with its SSML markup
taken off and its spaces gathered, or the character or key for CHAR and KEY. What a
screen reader hands to speech is read here in the protocol, the same on every release,
rather than from its debug log, whose form changes from one release to the next.
"""

import html
import re
import socketserver
import sys
import threading

END_OF_DATA = "."
message_ids = iter(range(1, sys.maxsize))
log_lock = threading.Lock()


def write_down(log, text):
    with log_lock:
        log.write(" ".join(text.split()) + "\n")
        log.flush()


def spoken_text(ssml):
    """The words of an SSML message, without its markup."""
    return html.unescape(re.sub(r"<[^>]*>", "", ssml))


class Connection(socketserver.StreamRequestHandler):
    def reply(self, code, *lines):
        """A reply of data lines, then the code's last line."""
        for line in lines[:-1]:
            self.wfile.write(f"{code}-{line}\r\n".encode())
        self.wfile.write(f"{code} {lines[-1]}\r\n".encode())
        self.wfile.flush()

    def read_line(self):
        line = self.rfile.readline()
        if not line:
            raise EOFError
        return line.decode("utf-8", "replace").rstrip("\r\n")

    def queued(self):
        self.reply(225, str(next(message_ids)), "OK MESSAGE QUEUED")

    def handle(self):
        try:
            while True:
                self.answer(self.read_line())
        except (EOFError, ConnectionError):
            pass

    def answer(self, command):
        words = command.split(" ")
        verb = words[0].upper()
        asked = " ".join(words[:2]).upper()
        if verb == "SPEAK":
            self.reply(230, "OK RECEIVING DATA")
            lines = []
            while (line := self.read_line()) != END_OF_DATA:
                # A line of data that starts with a dot has it doubled.
                lines.append(line[1:] if line.startswith("..") else line)
            write_down(self.server.log, spoken_text("\n".join(lines)))
            self.queued()
        elif verb in ("CHAR", "KEY"):
            write_down(self.server.log, command[len(verb) + 1 :])
            self.queued()
        elif asked == "LIST OUTPUT_MODULES":
            self.reply(250, "dummy", "OK MODULE LIST SENT")
        elif asked == "LIST SYNTHESIS_VOICES":
            self.reply(249, "English\ten\tnone", "OK VOICE LIST SENT")
        elif asked == "LIST VOICES":
            self.reply(249, "MALE1", "OK VOICE LIST SENT")
        elif asked == "HISTORY GET":
            self.reply(245, "1", "OK CLIENT ID SENT")
        elif verb == "GET":
            value = {"OUTPUT_MODULE": "dummy", "LANGUAGE": "en"}.get(words[1].upper(), "0")
            self.reply(251, value, "OK GET RETURNED")
        elif verb == "QUIT":
            self.reply(231, "HAPPY HACKING")
            raise EOFError
        else:
            # SET, STOP, CANCEL and the like: taken, with nothing to do.
            self.reply(200, "OK")


class Server(socketserver.ThreadingUnixStreamServer):
    daemon_threads = True


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[2], "a", encoding="utf-8") as log, Server(argv[1], Connection) as server:
        server.log = log
        server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
