#pragma once

class BCMNeuron;

// Program-wide state shared by the window's handlers and the training run. Everything runs on
// one thread; handlers nested in a run's event pump change these between two steps.

// The one current neuron. "Reset Weights" may replace it during any event pump, so every user
// fetches it at the moment of use and keeps no pointer across a pump.
extern BCMNeuron* neuron;

// Tested by the run before every step; one request ends every nested run.
extern bool stopRequested;
// While set, the innermost run only pumps events.
extern bool paused;

// Replaces the current neuron, if any, by a fresh one as Reset Weights makes it: 24 inputs,
// learning rate 0.005, threshold scale 10.0, averaging window 1000. Draws its 24 weights.
void ResetNeuron();
// Deletes the current neuron; nothing reads it afterwards.
void DeleteNeuron();

// The logic of the Stop and Pause handlers.
void RequestStop();
void TogglePause();
