#pragma once

class BCMNeuron;
class TCanvas;

// The weight plot as View → Fit Weights has it: at the classic scale, pixel for pixel as it has
// always been, or fitted to the weights and the threshold, with the scale noted in its top-left
// corner, where the fitted bars leave room.
class WeightView {
 public:
  void SetFitted(bool fitted) { fitted_ = fitted; }
  bool Fitted() const { return fitted_; }
  // Draws shown on canvas when the canvas is next read (see DeferWeightPlot).
  void Show(const BCMNeuron& shown, TCanvas& canvas) const;
  // The bars' scale for shown, in pixels per unit of weight.
  int PixelsPerUnit(const BCMNeuron& shown) const;

 private:
  bool fitted_ = false;
};
