#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Action.h"
#include "Parameters.h"
#include "Random.h"

// The units of an ensemble: one per seed and per combination of the protocols, the listed
// parameters' values and generators. Their order is fixed, so that shards of one ensemble on
// different machines never overlap: combination by combination, the generator changing fastest,
// then the last listed parameter (in the order of the parameter table), the protocol slowest, and
// within a combination the seeds in the order given.

struct ListedParameter {
  const ParameterOption* option;
  std::vector<std::string> values;  // as given on the command line
};

// Actions every unit of its combinations plays after the command line's.
struct Protocol {
  std::string name;  // its file's name without .txt
  std::vector<Action> actions;
};

struct EnsembleUnit {
  std::size_t group;  // which combination of values
  std::uint32_t seed;
  std::vector<std::string> values;  // one per listed parameter
  runtime::GeneratorKind generator;
  const Protocol* protocol;  // null without --protocol
};

class EnsemblePlan {
 public:
  EnsemblePlan() = default;
  // listed in the order of the parameter table; at least one generator.
  EnsemblePlan(std::vector<ListedParameter> listed, std::vector<runtime::GeneratorKind> generators,
               std::vector<std::uint32_t> seeds, std::vector<Protocol> protocols = {});

  const std::vector<ListedParameter>& Listed() const { return listed_; }
  const std::vector<Protocol>& Protocols() const { return protocols_; }
  // Whether more than one generator is played, which names them in the units' folders.
  bool GeneratorListed() const { return generators_.size() > 1; }
  std::size_t Groups() const { return groups_; }
  std::size_t SeedsPerGroup() const { return seeds_.size(); }
  std::size_t Units() const { return groups_ * seeds_.size(); }
  EnsembleUnit Unit(std::size_t index) const;

  // The parameters of a unit: base with its listed values set.
  Parameters ParametersOf(const EnsembleUnit& unit, const Parameters& base) const;
  // "protocol=md,closed-noise=0.05,rate=0.01,generator=pcg32", or "" when nothing is listed.
  std::string GroupName(std::size_t group) const;
  // The unit's folder inside the ensemble's: "GROUP/seed-S", or "seed-S".
  std::string FolderOf(const EnsembleUnit& unit) const;

 private:
  std::vector<std::string> ValuesOf(std::size_t group) const;
  runtime::GeneratorKind GeneratorOf(std::size_t group) const;
  const Protocol* ProtocolOf(std::size_t group) const;

  std::vector<ListedParameter> listed_;
  std::vector<runtime::GeneratorKind> generators_ = {runtime::GeneratorKind::kPcg32};
  std::vector<std::uint32_t> seeds_;
  std::vector<Protocol> protocols_;
  std::size_t groups_ = 1;
};
