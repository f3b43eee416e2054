#pragma once

#include <array>

// How each figure shares its height among its panels, top to bottom: the responses get the most
// room, since they carry the story of a deprivation.
inline constexpr std::array<double, 3> kCoursePanelShares{0.42, 0.22, 0.36};
inline constexpr std::array<double, 3> kEnsemblePanelShares{0.35, 0.35, 0.30};
