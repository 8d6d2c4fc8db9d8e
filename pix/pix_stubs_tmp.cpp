#include "pix/pix_blit.h"
void PIX_ScaledBlit(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, float, float, float, float, float, int) {}
void PIX_RotatedBlit(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, float, float, float, float, double, bool, float, int, float, float) {}
void PIX_DeltaBlit(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, double, double, double, double, double, double, double, double, double, double, bool, float, int) {}
void PIX_DeltaBlitAlpha(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, double, double, double, double, double, double, double, double, double, double, bool, float, int, double, double, double) {}
void PIX_TransformBlit(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, const float*, int, int, float, int) {}
void PIX_TransformBlit2(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, const double*, int, int, float, int) {}
void PIX_TransformBlit2Alpha(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, const double*, int, int, int) {}
void PIX_Clear(PIX_IBitmap*, PIX_pixel) {}
void PIX_ClearRect(PIX_IBitmap*, int, int, int, int, PIX_pixel, PIX_pixel) {}
void PIX_FillRect(PIX_IBitmap*, int, int, int, int, PIX_pixel, float, int) {}
void PIX_GradRect(PIX_IBitmap*, int, int, int, int, float, float, float, float, float, float, float, float, float, float, float, float, int) {}
void PIX_MultiplyAddRect(PIX_IBitmap*, int, int, int, int, float, float, float, float, float, float, float, float) {}
void PIX_ProcessRect(PIX_IBitmap*, int, int, int, int, void (*)(PIX_pixel*, void*), void*) {}
void PIX_Blur(PIX_IBitmap*, PIX_IBitmap*, int, int, int, int, int, int) {}
void PIX_HalveBlitAA(PIX_IBitmap*, PIX_IBitmap*) {}
void PIX_SetAlphaFromColorMask(PIX_IBitmap*, PIX_pixel) {}
void PIX_SimpleFill(PIX_IBitmap*, int, int, PIX_pixel, PIX_pixel, PIX_pixel) {}
int PIX_BitmapCmpEx(PIX_IBitmap*, PIX_IBitmap*, PIX_pixel, int*) { return 0; }
int PIX_BitmapCmp(PIX_IBitmap*, PIX_IBitmap*, int*) { return 0; }
