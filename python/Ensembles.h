#pragma once

#include <optional>
#include <string>

#include <pybind11/pybind11.h>

// orvel.ensemble(): the ensemble orvel-batch plays for the command line
//   orvel-batch --seeds SEEDS --dir DIR [--jobs N] [--shard K/N] [--force] [--logs L]
//               [--protocol FILES] [--reseed] [--NAME VALUES ...] ACTIONS
// read by orvel-batch's own parser and played by its own RunEnsemble, so the folders, the
// resumption and the summary are orvel-batch's. Returns the summary's columns.
pybind11::dict PlayEnsemble(const std::string& folder, pybind11::handle seeds,
                            pybind11::handle actions, pybind11::handle jobs, pybind11::handle shard,
                            const std::string& logs, bool force,
                            const pybind11::kwargs& parameterLists);

// The columns of DIR/summary.csv.
pybind11::dict Summary(const std::string& folder);
