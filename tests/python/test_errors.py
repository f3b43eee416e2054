# Bad input raises the Python exception a caller expects, with the command line's own words, and
# changes nothing.
import errno

import orvel
import pytest


@pytest.mark.parametrize("keywords, message", [
    ({"rate": -1}, "--rate must be finite, > 0, not -1"),
    ({"tau": 0.5}, "--tau must be whole, 1 ... 10000000, not 0.5"),
    ({"noise": float("nan")}, "--noise must be finite, 0 ... 10, not nan"),
    ({"pattern_rate": True}, "--pattern-rate must be 0 ... 1, not True"),
    ({"log_every": None}, "--log-every must be whole, 1 ... 1000000000, not None"),
    ({"rule": "hebb"}, "--rule must be bcm, law-cooper or oja, not hebb"),
])
def test_bad_parameter_is_a_value_error_in_the_command_lines_words(keywords, message):
    with pytest.raises(ValueError) as raised:
        orvel.Session(1, **keywords)
    assert str(raised.value) == message


def test_parameters_read_back_as_given_and_defaults_otherwise():
    s = orvel.Session(1, rate="0.01", tau=2000, closed_noise=0, rule="oja")
    assert s.parameters == {"rate": 0.01, "tau": 2000, "theta0": 10.0, "noise": 0.05,
                            "closed_noise": 0.0, "pattern_rate": 0.2, "init_weights": 0.15,
                            "log_every": 100, "rule": "oja"}
    assert orvel.Session(1).parameters["closed_noise"] is None


def test_wrong_calls_raise_value_type_and_runtime_errors():
    with pytest.raises(ValueError, match=r"^--seed takes a whole number from 0..4294967295, not -1$"):
        orvel.Session(-1)
    with pytest.raises(TypeError, match="unknown parameter ratee; the parameters are rate, tau"):
        orvel.Session(1, ratee=0.1)
    s = orvel.Session(1)
    with pytest.raises(ValueError, match="steps >= 1, not 0"):
        s.run(0)
    s.close()
    with pytest.raises(RuntimeError, match="closed"):
        s.run(1)


def test_files_that_cannot_be_used_are_os_errors_naming_the_path(tmp_path):
    missing = str(tmp_path / "missing")
    with pytest.raises(FileNotFoundError) as raised:
        orvel.Session(1, logs=missing)
    assert raised.value.filename == missing
    s = orvel.Session(1)
    with pytest.raises(OSError) as raised:
        s.save(missing + "/state.json")
    assert raised.value.filename == missing + "/state.json"
    with pytest.raises(FileNotFoundError):
        s.restore(missing)
    with pytest.raises(OSError) as raised:
        s.restore(str(tmp_path))
    assert raised.value.errno == errno.EISDIR
    # An ensemble makes its folder, as orvel-batch --dir does; below a file it cannot.
    (tmp_path / "file").write_text("")
    with pytest.raises(ValueError, match="is not a folder"):
        orvel.ensemble(str(tmp_path / "file" / "e"), "1-2", "run=10")


def test_damaged_state_is_a_value_error_and_the_session_goes_on(tmp_path):
    state = tmp_path / "state.json"
    state.write_text('{"format": "something else"}\n')
    s = orvel.Session(5)
    weights = s.weights
    with pytest.raises(ValueError, match="^" + str(state) + ": "):
        s.restore(str(state))
    assert (s.weights == weights).all()
    s.run(10)


def test_ensemble_refuses_what_orvel_batch_refuses(tmp_path):
    with pytest.raises(ValueError, match="^run needs a whole number of steps >= 1: run=0$"):
        orvel.ensemble(str(tmp_path), "1-2", "run=0")
    with pytest.raises(ValueError, match="^--rate lists 0.01 twice$"):
        orvel.ensemble(str(tmp_path), "1-2", "run=10", rate=[0.01, 0.01])
    assert list(tmp_path.iterdir()) == []


def test_a_run_that_diverges_raises_diverged_with_its_step_and_reset_recovers(tmp_path):
    s = orvel.Session(1, rate=0.02)
    with pytest.raises(orvel.Diverged, match="diverged at training step 1310") as raised:
        s.run(5000)
    assert raised.value.step == 1310 and isinstance(raised.value, RuntimeError)
    assert s.trained_steps == 1310
    s.reset()
    s.run(10)
    assert s.trained_steps == 1320
    with pytest.raises(ValueError, match="generator takes classic or pcg32, not pcg64"):
        orvel.Session(1, generator="pcg64")
    # In an ensemble the diverged unit is complete and named, not raised.
    table = orvel.ensemble(str(tmp_path / "e"), "1-2", "run=1500 check", generator="classic",
                           rate=0.02)
    assert list(table["diverged_at"][:1]) == [1310] and list(table["steps"][1:]) == [1500]
