// The processor's vector registers, as the speed of code built for SSE depends on them.
#pragma once

// Whether the processor runs AVX instructions (false where this build never uses them).
bool CpuHasAvx();

// Marks the upper halves of the 256-bit vector registers unused. Where a library has used AVX
// and left them in use (the toolkit does as it starts), every call between SSE code and AVX
// code, such as the maths library's sines and cosines, pays a switch between the two: building
// the transform's tables then took ten times as long.
void ClearUpperVectorHalves();
