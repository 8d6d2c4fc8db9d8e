#pragma once
// Plain model of the effect used as the yardstick in the effect tests.

namespace ref {

double Clip(double v);

struct StageA {
  double x1[3] = {}, y1[3] = {};
  double a[4] = {}, b[4] = {};
  void Calc(double K, double p);
  double Process(double x);
};

struct StageB {
  double x1[5] = {}, y1[5] = {};
  double a[6] = {}, b[6] = {};
  void Calc(double K, double p);
  double Process(double x);
};

struct Effect {
  double gain = 1, targetA = 0, targetB = 0;
  int bypass = 0;
  double zA = 0, zB = 0;
  StageA stageA[2];
  StageB stageB[2];
  void SetParams(double outDb, double gainM, double gainL, int bypassValue);
  // What a change of sample rate does: every filter starts from silence.
  void ClearHistories();
  void Process(const double* inL, const double* inR, double* outL, double* outR, int n, double fs);
};

}  // namespace ref
