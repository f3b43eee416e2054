# A saved state continues exactly, in this session, in a new one, and in another process.
import os
import subprocess
import sys

import numpy as np
import orvel


def test_loaded_state_continues_bit_for_bit_here_and_in_another_process(tmp_path):
    path = str(tmp_path / "reared.json")
    s = orvel.Session(11, tau=300)
    s.left = False
    s.run(4000)
    s.save(path)
    s.run(2500)

    here = orvel.Session.load(path)
    assert here.parameters["tau"] == 300 and not here.left and here.right
    here.run(2500)
    np.testing.assert_array_equal(here.weights, s.weights)
    assert here.theta == s.theta
    # A state holds what the neuron learnt, not the session's counts of runs and steps.
    assert here.trained_steps == 2500
    for name, column in here.course.items():
        if name not in ("run", "trained_steps"):
            np.testing.assert_array_equal(column, s.course[name][-25:], err_msg=name)

    script = ("import orvel, sys; s = orvel.Session.load(sys.argv[1]); s.run(2500); "
              "print(repr(list(s.weights) + [s.theta]))")
    printed = subprocess.run([sys.executable, "-c", script, path], capture_output=True, text=True,
                             check=True, env=dict(os.environ)).stdout
    assert eval(printed) == list(s.weights) + [s.theta]


def test_overrides_replace_the_states_parameters(tmp_path):
    path = str(tmp_path / "reared.json")
    orvel.Session(2).save(path)
    changed = orvel.Session.load(path, noise=0.1, closed_noise=0)
    assert changed.parameters["noise"] == 0.1 and changed.parameters["closed_noise"] == 0.0
    assert orvel.Session.load(path).parameters == orvel.Session(2).parameters
