#include "app/peakshapes.h"

#include <cmath>

float GaussianWidth(int Profile, float U, float V, float W, float t) {
  float g2 = 0;
  if (Profile >= 1 && Profile <= 6)
    g2 = U * t * t + V * t + W;
  else if (Profile == 7)
    g2 = U + V * t * t + W * t * t * t * t;
  return g2 >= 0 ? std::sqrt(g2) : -std::sqrt(-g2);
}

float LorentzianTerm(int Profile, float Gam0, float Gam1, float Gam2, float t) {
  const float twoTheta = Profile <= 6 ? std::atan(t) * 114.59156f : 0.0f;
  switch (Profile) {
    case 1:
    case 4:
    case 6:
      return Gam0 + Gam1 * twoTheta + Gam2 * twoTheta * twoTheta;
    case 2: {
      const float m = Gam0 + Gam1 * twoTheta + Gam2 * twoTheta * twoTheta;
      return m <= 0.6f ? 0.6f : m;
    }
    case 3:
    case 5:
      return Gam0 * std::sqrt(t * t + 1) + Gam1 * t;
    default:
      return 0;
  }
}

float TCHWidth(float G, float L) {
  const float g2 = G * G, l2 = L * L;
  const float sum = g2 * g2 * G + 2.69269f * g2 * g2 * L + 2.42843f * g2 * G * l2 + 4.47163f * g2 * l2 * L +
                    0.07842f * G * l2 * l2 + l2 * l2 * L;
  return std::pow(sum, 0.2f);
}

float TCHMixing(float q) { return 1.36603f * q - 0.47719f * q * q + 0.11116f * q * q * q; }

float PseudoVoigt(float Eta, float H, float Delta) {
  // A peak without width has no value anywhere (not 0/0 at its centre).
  const float denominator = Delta * Delta + 0.25f * H * H;
  const float lorentz = denominator != 0 ? 0.159155f * H / denominator : 0.0f;
  float gauss = 0;
  if (H != 0) {
    const float r = Delta / H;
    gauss = (0.9394373f / H) * std::exp(-2.772589f * r * r);
  }
  return Eta * lorentz + (1 - Eta) * gauss;
}
