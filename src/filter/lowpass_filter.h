#pragma once

#include <cstdint>
#include <vector>

#include "platform/work_progress.h"

// Working state of the channel low-pass filter: the sample rate, the delay elements and the
// coefficients of its two second-order sections. One record serves every channel; each run
// recomputes the coefficients, starts from rest and leaves its last values here.
struct FilterState {
  double SampleRate;
  double X1;   // last input sample
  double X2;   // last-but-one input sample
  double W1;   // last output of section 1
  double W2;   // last-but-one output of section 1
  double A11;  // section 1: feedback coefficient of w1
  double A21;  // section 1: feedback coefficient of w2
  double G1;   // section 1: gain
  double A12;  // section 2: feedback coefficient of y1
  double A22;  // section 2: feedback coefficient of y2
  double G2;   // section 2: gain
  double Y1;   // last output of section 2
  double Y2;   // last-but-one output of section 2
};

// Fourth-order Butterworth low-pass at `cutoff` Hz (strictly between 0 and 300) for 600
// samples per second, as two cascaded bilinear-transformed sections with a pre-warped
// cut-off. Writes output[0 .. count - 1] from input[0 .. count - 1], forward only, from rest;
// reads and writes nothing else (nothing at all for count 0). input and output may be the
// same array.
void LowPassFilter(FilterState& state, double cutoff, const double* input, double* output,
                   std::uint32_t count);

// One channel of a filter run over several channels.
struct ChannelFilterRun {
  const double* Input;
  double* Output;
};

// LowPassFilter for each run, the runs spread over the cores, in slices of samples that report
// to `progress` between them. Each channel filters alone from rest, so every output is bit for
// bit what the runs one after the other give, and `state` ends as the last run in order leaves
// it (as it was when there is none). No run's output may overlap another run's input or
// output.
void LowPassFilterChannels(FilterState& state, double cutoff,
                           const std::vector<ChannelFilterRun>& runs, std::uint32_t count,
                           const WorkProgress& progress = {});
