# The module under test comes from the build (PYTHONPATH); orvel-batch from ORVEL_BATCH, both set
# by CTest.
import os
import subprocess

import pytest


@pytest.fixture
def batch():
    """Runs orvel-batch with arguments; returns its standard output."""
    def run(*arguments, cwd=None):
        done = subprocess.run([os.environ["ORVEL_BATCH"], "--quiet", *map(str, arguments)],
                              cwd=cwd, capture_output=True, text=True, check=True)
        return done.stdout
    return run


def folder_bytes(folder, leave_out=("run.json",)):
    """Every file under folder, by relative path, with its bytes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            if name in leave_out:
                continue
            path = os.path.join(root, name)
            with open(path, "rb") as file:
                files[os.path.relpath(path, folder)] = file.read()
    return files
