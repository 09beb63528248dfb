"""cmake/check_layers.py on small trees: it passes a tree that keeps the
layers and names file and line of each include that does not."""

import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake", "check_layers.py")

TABLE = """\
# bottom first
numeric
measure
shell
kalman aprox measure/ui
app

desktop: app
unscanned: tests
"""

# A tree that keeps every rule, including the cases that are allowed:
# a relative include, measure/ui above the shell, the desktop composition
# including ui/ headers, a commented-out include, the tests and a build tree.
CLEAN = {
    "cmake/layers.txt": TABLE,
    "numeric/vec.h": "#pragma once\n",
    "numeric/vec.cpp": '#include "numeric/vec.h"\n// #include "measure/m.h"\n',
    "measure/m.h": '#pragma once\n#include "numeric/vec.h"\n',
    "measure/m.cpp": '#include "m.h"\n',
    "shell/ui/dialog.h": '#include "measure/m.h"\n',
    "measure/ui/dlg.h": '#include "shell/ui/dialog.h"\n#include "measure/m.h"\n',
    "kalman/k.h": '#include "numeric/vec.h"\n',
    "aprox/a.h": '#include "measure/m.h"\n',
    "app/main.cpp": '#include "measure/ui/dlg.h"\n#include "kalman/k.h"\n#include "aprox/a.h"\n',
    "tests/t.cpp": '#include "app/main.cpp"\n',
    "build/CMakeCache.txt": "",
    "build/moc.cpp": '#include "app/main.cpp"\n',
}


class CheckLayers(unittest.TestCase):
    def run_checker(self, changes):
        base = os.environ.get("ONDARIX_TEST_TMP")
        if base:
            os.makedirs(base, exist_ok=True)
        with tempfile.TemporaryDirectory(dir=base) as root:
            for rel, text in {**CLEAN, **changes}.items():
                path = os.path.join(root, rel)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
            done = subprocess.run([sys.executable, "-B", CHECKER, root], capture_output=True, text=True)
        return done.returncode, done.stdout

    def assertFails(self, changes, *expected):
        code, out = self.run_checker(changes)
        self.assertEqual(code, 1, out)
        for text in expected:
            self.assertIn(text, out)

    def test_a_tree_that_keeps_the_layers_passes(self):
        code, out = self.run_checker({})
        self.assertEqual(code, 0, out)
        self.assertIn("9 files, 11 includes follow", out)

    def test_an_include_up_the_layers_is_named_by_file_and_line(self):
        self.assertFails({"numeric/vec.cpp": '#include "numeric/vec.h"\n\n  #  include "measure/m.h"\n'},
                         'numeric/vec.cpp:3: #include "measure/m.h": numeric is below measure')
        # A ui/ folder counts as its folder: shell/ui is still below measure/ui.
        self.assertFails({"shell/ui/dialog.h": '#include "measure/ui/dlg.h"\n'},
                         "shell/ui/dialog.h:1", "shell is below measure/ui")

    def test_folders_of_one_layer_are_independent(self):
        self.assertFails({"kalman/k.h": '#include "numeric/vec.h"\n#include "aprox/a.h"\n'},
                         'kalman/k.h:2: #include "aprox/a.h": kalman and aprox are on one layer')

    def test_a_file_outside_ui_never_includes_a_ui_header(self):
        self.assertFails({"shell/s.cpp": '#include "shell/ui/dialog.h"\n'},
                         "shell/s.cpp:1", "outside ui/ includes a ui/ header")
        self.assertFails({"numeric/vec.cpp": '#include "ui/panel.h"\n', "numeric/ui/panel.h": ""},
                         'numeric/vec.cpp:1: #include "ui/panel.h"')

    def test_folders_that_include_each_other_are_a_cycle(self):
        self.assertFails({"aprox/a.h": '#include "measure/m.h"\n#include "kalman/k.h"\n',
                          "kalman/k.h": '#include "aprox/a.h"\n'},
                         "include cycle aprox -> kalman -> aprox",
                         "aprox -> kalman at aprox/a.h:2", "kalman -> aprox at kalman/k.h:1")

    def test_a_folder_missing_from_the_table_fails(self):
        self.assertFails({"io/reader.cpp": '#include "measure/m.h"\n'}, "io/: C++ files in a folder")


if __name__ == "__main__":
    unittest.main()
