#pragma once

// Qt's event handling can return with the upper halves of the AVX registers dirty. Until they are
// zeroed, every SSE instruction of the model's arithmetic waits on a merge with them: the window's
// steps ran at less than half the speed of the same steps without Qt. Zeroing them after each
// pump costs one instruction and changes no number the model computes.
void ZeroUpperVectorHalves();
