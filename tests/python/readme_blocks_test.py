"""Every example block of README.md runs when pasted alone into a fresh shell or
Python, from the repository's root: it defines what it uses and makes its
inputs itself. Blocks that install, build or need a cluster are left out."""

import os
import pathlib
import re
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SETUP = ("scripts/run.sh", "cmake --install", "cmake -S . -B build", "tcp://scheduler")


def blocks():
    text = (ROOT / "README.md").read_text()
    found = re.findall(r"```(sh|python)\n(.*?)```", text, re.S)
    return [(kind, body) for kind, body in found if not any(s in body for s in SETUP)]


@pytest.mark.parametrize("kind,body", blocks(), ids=lambda v: v if v in ("sh", "python") else "")
def test_a_readme_block_runs_pasted_alone(kind, body, tmp_path):
    batch = os.environ.get("ONDARIX_BATCH", str(ROOT / "build" / "batch" / "ondarix-batch"))
    # The blocks' /tmp files go to this test's own folder, so that no block
    # finds what another (or an earlier run) left there; then the build
    # tree's program they name is pointed at the one under test (last, since
    # a checkout may itself lie under /tmp).
    body = body.replace("/tmp/", f"{tmp_path}/").replace("build/batch/ondarix-batch", batch)
    command = ["bash", "-euc", body] if kind == "sh" else ["/usr/bin/python3", "-c", body]
    done = subprocess.run(command, cwd=ROOT, capture_output=True, text=True, timeout=600,
                          env=dict(os.environ, HOME=str(tmp_path)))
    assert done.returncode == 0, (body.splitlines()[0], done.stderr[-800:])
