"""The manual (Help -> Contents) keeps up with the program: every command of
ondarix-batch, every input type and every function of the Python module is in it."""

import os
import pathlib
import re
import subprocess

import ondarix

ROOT = pathlib.Path(__file__).resolve().parents[2]
MANUAL = (ROOT / "docs" / "manual.html").read_text()


def batch_help():
    exe = os.environ.get("ONDARIX_BATCH", str(ROOT / "build" / "batch" / "ondarix-batch"))
    return subprocess.run([exe, "--help"], capture_output=True, text=True, check=True).stdout


def test_every_command_and_input_type_of_ondarix_batch_is_described():
    text = batch_help()
    commands = re.findall(r"^  (\w+)\s", text, re.M)
    assert commands
    assert [c for c in commands if f"ondarix-batch {c}" not in MANUAL] == []
    types = re.search(r"Input types: (.*?) \(", text).group(1).replace(" and ", ", ").split(", ")
    assert re.search(r"--type ([a-z0-9|]+)", MANUAL).group(1).split("|") == types


def test_every_function_of_the_python_module_is_described():
    functions = [n for n in dir(ondarix) if not n.startswith("_") and callable(getattr(ondarix, n))
                 and not isinstance(getattr(ondarix, n), type)]
    assert "read" in functions and "sea" in functions
    assert [f for f in functions if f"<code>{f}(" not in MANUAL
            and f"<code>ondarix.{f}(" not in MANUAL] == []
