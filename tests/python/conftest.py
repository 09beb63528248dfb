"""Shared pieces of the Python tests: the sample, ondarix-batch, and its runs.

The build tree's python/ folder must be on PYTHONPATH and ONDARIX_BATCH may
name the ondarix-batch of the same build (scripts/test.sh sets both)."""

import os
import pathlib
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SAMPLE = str(ROOT / "samples" / "flume_sample.INT")


@pytest.fixture(scope="session")
def sample():
    return SAMPLE


@pytest.fixture(scope="session")
def batch():
    """Runs ondarix-batch; returns the CompletedProcess with its output as
    text whose CR LF line ends are kept."""
    exe = os.environ.get("ONDARIX_BATCH", str(ROOT / "build" / "batch" / "ondarix-batch"))
    if not os.access(exe, os.X_OK):
        pytest.fail(f"ondarix-batch not found at {exe} (set ONDARIX_BATCH)")

    def run(*args, ok=True):
        done = subprocess.run([exe, *map(str, args)], capture_output=True)
        done.stdout, done.stderr = done.stdout.decode(), done.stderr.decode()
        if ok and done.returncode != 0:
            raise AssertionError(f"ondarix-batch {args} failed: {done.stderr}")
        return done

    return run


def batch_reason(done):
    """The one-line reason ondarix-batch printed, without its prefix."""
    line = done.stderr.strip().splitlines()[0]
    assert line.startswith("ondarix-batch: "), line
    return line[len("ondarix-batch: ") :]
