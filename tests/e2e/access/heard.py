#!/usr/bin/python3
"""When a screen reader's words were heard, against when it was given them.

  heard.py RECORDING STAMPS ORCA_LOG STOP SINCE UNTIL
  heard.py said ORCA_LOG SINCE UNTIL     the words Orca was given between two times, a line each
  parec ... | heard.py record RECORDING STAMPS
                                        writes the samples to RECORDING and, to STAMPS, when
                                        each chunk of them arrived

RECORDING  raw signed 16-bit mono samples at 16000 Hz of what the speakers played
STAMPS     "SAMPLES ARRIVAL" a chunk: the samples recorded so far and the wall-clock time
           (seconds since the epoch) they had all arrived by
ORCA_LOG   Orca's debug log: each "SPEECH OUTPUT" line is a time Orca was given words
STOP       the wall-clock time the string stopped sounding
SINCE UNTIL
           only words given, and sound heard, between these two times count

Each utterance is matched, in order, to the first onset of sound (sound after a silence) at or
after the time it was given and after the previous utterance can have been said. Prints one line
an utterance ("LAG_S WORDS (given ...)"), then "worst lag S", when the last sound began and
"tail S": how long after STOP the last sound ended. Exits 1 when nothing was said.
"""
import datetime
import os
import re
import sys
import time
from array import array

RATE = 16000
FRAME = RATE // 100  # 10 ms
LOUD = 300           # RMS of speech, far above the null sink's silence (0)
ONSET_SILENCE = 10   # frames of silence before an onset: 100 ms
# seconds: espeak-ng says no character faster at the default rate; HEARD_PACE is how much
# longer the listener's rate takes (0.35 at Orca's rate 90)
PER_CHARACTER = 0.06 * float(os.environ.get("HEARD_PACE", "1"))
# The recording's start is known to a few tens of milliseconds: an onset a little before Orca
# logged its words is theirs.
SLACK = 0.25


def loud_frames(path):
    samples = array("h")
    with open(path, "rb") as raw:
        samples.frombytes(raw.read())
    return [sum(x * x for x in samples[start:start + FRAME]) / FRAME > LOUD * LOUD
            for start in range(0, len(samples) - FRAME + 1, FRAME)]


def onsets(loud):
    quiet = ONSET_SILENCE
    for index, is_loud in enumerate(loud):
        if is_loud and quiet >= ONSET_SILENCE:
            yield index
        quiet = 0 if is_loud else quiet + 1


def given(log_path, start):
    """(epoch seconds, words) of each SPEECH OUTPUT line; the log has the time of day only."""
    day = datetime.datetime.fromtimestamp(start).date()
    line = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)' ?(\{|$)")
    with open(log_path, errors="replace") as log:
        for text in log:
            match = line.match(text)
            if not match:
                continue
            hours, minutes, seconds, words, _ = match.groups()
            when = datetime.datetime.combine(day, datetime.time()) + datetime.timedelta(
                hours=int(hours), minutes=int(minutes), seconds=float(seconds))
            stamp = when.timestamp()
            if stamp < start - 43200:  # past midnight since the recording began
                stamp += 86400
            yield stamp, words


def said_between(log_path, start, since, until):
    """What given() finds given between SINCE and UNTIL."""
    return [(when, words) for when, words in given(log_path, start) if since <= when < until]


def record(recording, stamps_path):
    """Writes the samples, and for each chunk how many have come and when they had."""
    size = 0
    with open(recording, "wb") as out, open(stamps_path, "w") as stamps:
        while True:
            chunk = sys.stdin.buffer.read1(65536)
            if not chunk:
                return 0
            arrived = time.time()
            out.write(chunk)
            out.flush()
            size += len(chunk)
            stamps.write(f"{size // 2} {arrived:.3f}\n")
            stamps.flush()


def sample_clock(stamps_path):
    """The wall-clock time of each 10 ms frame's start. The recorder starts late and delivers
    in bursts, so a chunk's arrival less the length of the samples so far bounds the first
    sample's time from above. On a busy machine the server can lose samples, which moves every
    later sample's time on: the least bound from a chunk onwards holds from that chunk to the
    next loss, so each chunk takes the least bound of those that follow it."""
    ends, bounds = [], []
    with open(stamps_path) as stamps:
        for line in stamps:
            total, arrived = line.split()
            ends.append(int(total))
            bounds.append(float(arrived) - int(total) / RATE)
    for k in range(len(bounds) - 2, -1, -1):
        bounds[k] = min(bounds[k], bounds[k + 1])
    times, chunk = [], 0
    for first in range(0, ends[-1] if ends else 0, FRAME):
        while ends[chunk] <= first:
            chunk += 1
        times.append(bounds[chunk] + first / RATE)
    return times


def main(argv):
    if len(argv) == 4 and argv[1] == "record":
        return record(argv[2], argv[3])
    if len(argv) == 5 and argv[1] == "said":
        for _, words in said_between(argv[2], float(argv[3]), float(argv[3]), float(argv[4])):
            print(words)
        return 0
    if len(argv) != 7:
        print(__doc__, file=sys.stderr)
        return 2
    recording, stamps, log_path, stop = argv[1], argv[2], argv[3], float(argv[4])
    since, until = float(argv[5]), float(argv[6])
    clock = sample_clock(stamps)
    loud = loud_frames(recording)[:len(clock)]
    loud = loud[:sum(1 for t in clock[:len(loud)] if t < until)]
    heard_at = [clock[index] for index in onsets(loud)]
    start = clock[0] if clock else since
    said = said_between(log_path, start, since, until)
    if not said or not heard_at:
        print("nothing was said" if not said else "nothing was heard")
        return 1
    worst = earliest = 0.0
    for when, words in said:
        candidates = [t for t in heard_at if t >= max(when - SLACK, earliest)]
        if not candidates:
            print(f"never heard: {words}")
            worst = float("inf")
            continue
        onset = candidates[0]
        earliest = onset + PER_CHARACTER * len(words)
        lag = max(0.0, onset - when)
        worst = max(worst, lag)
        print(f"{lag:.2f} {words} (given {when - stop:+.2f} s from STOP)")
    last_loud = max(i for i, is_loud in enumerate(loud) if is_loud)
    last_onset = max(t for t in heard_at if t <= clock[last_loud])
    print(f"worst lag {worst:.2f}")
    print(f"last sound {last_onset - stop:+.2f} s from STOP")
    print(f"tail {clock[last_loud] + 0.01 - stop:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
