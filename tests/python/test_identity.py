# The module drives the same Session as orvel-batch: the same seed and actions give the same
# numbers and the same files, byte for byte.
import math

import numpy as np
import orvel
import pytest
from conftest import folder_bytes


def listing(rows):
    """Check It Out's lines as orvel-batch prints them."""
    return "".join("%2d. %8.5f + %8.5f  = %8.5f \n" % (i, *row) for i, row in enumerate(rows))


def course_csv(path):
    """course.csv's columns, each field read back as the exact number it was written as."""
    with open(path) as file:
        names = file.readline().rstrip("\n").split(",")
        rows = [line.rstrip("\n").split(",") for line in file]
    return names, [[float(field) if field else math.nan for field in row] for row in rows]


@pytest.mark.parametrize("generator", ["classic", "pcg32"])
def test_every_action_gives_orvel_batch_numbers_and_files(tmp_path, batch, generator):
    ours, theirs = tmp_path / "ours", tmp_path / "theirs"
    ours.mkdir()
    theirs.mkdir()
    printed = batch("--seed", 7, "--generator", generator, "--dir", theirs, "--log-every", 10,
                    "--rate", 0.01,
                    "run=2000", "check", "left=off", "run=1500", "reset", "right=off", "left=on",
                    "run=1000", f"save={theirs}/mid.state", "check", "run=300",
                    f"load={theirs}/mid.state", "right=on", "run=700",
                    f"save={theirs}/end.state")

    s = orvel.Session(7, logs=str(ours), generator=generator, log_every=10, rate=0.01)
    s.run(2000)
    first = s.check()
    s.left = False
    s.run(1500)
    s.reset()
    s.right = False
    s.left = True
    s.run(1000)
    s.save(str(ours / "mid.state"))
    second = s.check()
    s.run(300)
    s.restore(str(ours / "mid.state"))
    s.right = True
    s.run(700)
    s.save(str(ours / "end.state"))

    assert listing(first) + listing(second) == printed
    assert first.shape == (12, 3)
    # The end state holds the weights, threshold, history and generator.
    assert folder_bytes(ours) == folder_bytes(theirs)
    assert s.trained_steps == 2000 + 1500 + 1000 + 300 + 700
    names, rows = course_csv(ours / "course.csv")
    course = s.course
    assert list(course) == names
    assert len(rows) == (2000 + 1500 + 1000 + 300 + 700) // 10
    for column, name in enumerate(names):
        np.testing.assert_array_equal(course[name], [row[column] for row in rows], err_msg=name)


def test_memory_only_session_learns_as_with_files(tmp_path):
    with_files = orvel.Session(3, logs=str(tmp_path))
    in_memory = orvel.Session(3)
    for s in (with_files, in_memory):
        s.right = False
        s.run(5000)
    np.testing.assert_array_equal(with_files.weights, in_memory.weights)
    assert with_files.theta == in_memory.theta
    assert list(tmp_path.iterdir()) != []


def test_ensemble_plays_orvel_batch_units_and_resumes_its_folder(tmp_path, batch):
    ours, theirs = tmp_path / "ours", tmp_path / "theirs"
    ours.mkdir()
    theirs.mkdir()
    batch("--seeds", "1-2", "--rate", "0.005,0.01", "--dir", theirs, "--jobs", 2,
          "run=3000", "check", "right=off", "run=1000", "check")
    summary = orvel.ensemble(str(ours), range(1, 3), "run=3000 check right=off run=1000 check",
                             jobs=2, rate=[0.005, 0.01])
    assert folder_bytes(ours) == folder_bytes(theirs)

    with open(ours / "summary.csv") as file:
        names = file.readline().rstrip("\n").split(",")
        rows = [[f if name in ("generator", "rule") else float(f) if f else math.nan
                 for name, f in zip(names, line.rstrip("\n").split(","))] for line in file]
    assert list(summary) == names
    assert len(rows) == 2 * 2 * 2
    for column, name in enumerate(names):
        np.testing.assert_array_equal(summary[name], [row[column] for row in rows])
    assert summary["seed"].dtype == np.int64 and summary["rate"].dtype == np.float64
    assert set(summary["generator"]) == {"pcg32"}

    # orvel-batch's folder: the same arguments find every unit complete and replay none.
    record = next(theirs.glob("*/seed-1/run.json"))
    before = record.stat().st_mtime_ns
    again = orvel.ensemble(str(theirs), "1-2", ["run=3000", "check", "right=off", "run=1000",
                                                "check"], rate=(0.005, 0.01))
    assert record.stat().st_mtime_ns == before
    np.testing.assert_array_equal(again["odi"], summary["odi"])


def test_ensemble_lists_rules_as_words(tmp_path):
    summary = orvel.ensemble(str(tmp_path), "1", "run=300 check", rule=["bcm", "oja"])
    assert list(summary["rule"]) == ["bcm", "oja"]
    assert summary["max_left"][0] != summary["max_left"][1]


def test_ensemble_branches_into_protocols_as_orvel_batch_does(tmp_path, batch):
    (tmp_path / "md.txt").write_text("right=off\nrun=400\ncheck\n")
    (tmp_path / "bd.txt").write_text("left=off\nright=off\nrun=400\ncheck\n")
    protocols = [tmp_path / "md.txt", str(tmp_path / "bd.txt")]
    batch("--seeds", "1-2", "--dir", tmp_path / "rear", "run=600", "save=reared.json")
    branch = ["load=" + str(tmp_path / "rear/seed-{seed}/reared.json")]
    batch("--seeds", "1-2", "--protocol", ",".join(map(str, protocols)), "--dir",
          tmp_path / "theirs", *branch)
    summary = orvel.ensemble(str(tmp_path / "ours"), "1-2", branch, protocol=protocols)
    assert folder_bytes(tmp_path / "ours") == folder_bytes(tmp_path / "theirs")
    assert list(summary["protocol"]) == ["md", "md", "bd", "bd"]
