# run() lets other Python threads go on, and Ctrl-C ends it, leaving the session usable.
import os
import signal
import threading
import time

import orvel

# The run takes the GIL back at most every 50 ms to let Python see a signal; this bound only
# guards against a run that never notices one (a hang), not its speed.
HANG = 2.0


def interrupt_while_running(session, work=lambda: None):
    """In another thread: once session runs, does work, then sends SIGINT; returns the thread
    and what it saw."""
    seen = {}

    def helper():
        while not session.running:
            pass
        seen["work"] = work()
        seen["still running"] = session.running
        seen["sent"] = time.monotonic()
        os.kill(os.getpid(), signal.SIGINT)

    thread = threading.Thread(target=helper)
    thread.start()
    return thread, seen


def test_other_threads_run_while_a_session_runs():
    s = orvel.Session(1)
    thread, seen = interrupt_while_running(s, lambda: sum(i * i for i in range(100000)))
    try:
        s.run(10**12)
    except KeyboardInterrupt:
        pass
    thread.join()
    assert seen["work"] == 333328333350000
    assert seen["still running"]


def test_ctrl_c_ends_a_run_and_leaves_the_session_whole(tmp_path):
    s = orvel.Session(1, logs=str(tmp_path), log_every=1)
    thread, seen = interrupt_while_running(s)
    try:
        s.run(10**12)
        raise AssertionError("the run was not interrupted")
    except KeyboardInterrupt:
        caught = time.monotonic()
    thread.join()
    assert caught - seen["sent"] < HANG

    steps = s.trained_steps
    assert 0 < steps < 10**12
    with open(tmp_path / "course.csv") as file:
        lines = file.read().split("\n")
    assert lines[-1] == "" and len(lines) - 2 == steps == len(s.course["step"])
    s.run(100)
    assert s.trained_steps == steps + 100


def test_ctrl_c_ends_an_ensemble_and_the_same_call_finishes_it(tmp_path):
    sent = {}

    def helper():
        # The ensemble has begun once its record is written.
        while not (tmp_path / "ensemble.json").exists():
            pass
        sent["at"] = time.monotonic()
        os.kill(os.getpid(), signal.SIGINT)

    def play():
        return orvel.ensemble(str(tmp_path), range(1, 5), "run=3000000 check", jobs=2,
                              logs="none")

    thread = threading.Thread(target=helper)
    thread.start()
    try:
        play()
        raise AssertionError("the ensemble was not interrupted")
    except KeyboardInterrupt:
        caught = time.monotonic()
    thread.join()
    assert caught - sent["at"] < HANG
    assert len(list(tmp_path.glob("seed-*/complete"))) < 4
    assert list(play()["seed"]) == [1, 2, 3, 4]
