#pragma once

#include <string>
#include <vector>

class Simulation;

// How strongly each eye drives the neuron at each of the 12 pattern positions, both eyes seeing
// the same pattern with the simulation's noise, without learning. Each presentation draws fresh
// noise from the measurement stream: with the classic generator, the one stream training draws
// from, so it shifts what a run sees afterwards; with pcg32, a stream of its own.

struct EyeMaxima {
  double maxLeft;
  double maxRight;
};

// Presents the pattern at centre to both eyes (the right eye's drawn first) with learning off;
// returns the response and leaves the eyes' partial responses in the neuron's yLeft and yRight.
double ProbePosition(Simulation& simulation, int centre);

// The largest partial response of each eye over the 12 positions; -100.0 for an eye with none
// above that.
EyeMaxima ProbeMaxima(Simulation& simulation);

// One line of the Check It Out listing: "%2d. %8.5f + %8.5f  = %8.5f ".
std::string ListingLine(int centre, double yLeft, double yRight, double y);

// The responses the listing shows, centre 0 first: what records and summaries store.
struct ListingRow {
  double yLeft;
  double yRight;
  double y;
};
std::vector<ListingRow> CheckItOutResponses(Simulation& simulation);

// Each eye's largest response in a listing of at least one row.
EyeMaxima ListingMaxima(const std::vector<ListingRow>& rows);

// The listing's lines, centre 0 first.
std::vector<std::string> ListingLines(const std::vector<ListingRow>& rows);
