"""An ensemble's tables load with numpy's genfromtxt as the README says: one row per line, the
header's names, numbers where numbers are."""
import numpy


def test_every_table_of_an_ensemble_loads_with_numpy(batch, tmp_path):
    batch("--seeds", "1-2", "--closed-noise", "0,0.1", "--dir", tmp_path,
          "run=300", "check=before", "right=off", "run=200", "check")
    batch("--summarize", tmp_path, "--courses")
    # 4 units of 5 logged steps and 2 checks each; spread.csv has 6 values per group and step.
    expected = {"summary.csv": (8, "listing_odi"), "spread.csv": (2 * 5 * 6, "mean"),
                "courses.csv": (4 * 5, "mean_weight_left")}
    for name, (rows, column) in expected.items():
        table = numpy.genfromtxt(tmp_path / name, delimiter=",", names=True)
        assert table.shape == (rows,), name
        assert "closed_noise" in table.dtype.names, name
        assert numpy.isfinite(table[column]).all(), name
