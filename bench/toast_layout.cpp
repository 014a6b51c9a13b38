// Laying out and drawing one product-style toast with an image, a two-line
// title and a message at 3x, as the home screen does when a behaviour hides
// a banner.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <memory>

#include "platform/ui/UIImage.h"
#include "platform/ui/UIView.h"
#include "platform/ui/render/ViewRenderer.h"
#include "tweak/toast/TessraToast.h"
#include "tweak/toast/ToastHelper.h"

namespace {

std::shared_ptr<platform::UIImage> icon() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 75, 75);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_arc(cr, 37.5, 37.5, 30, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_destroy(cr);
  auto image = platform::UIImage::imageWithSurface(surface, 3);
  cairo_surface_destroy(surface);
  return image;
}

void BM_LayOutAndDrawProductToastAt3x(benchmark::State& state) {
  auto host = std::make_shared<platform::UIView>(platform::CGRectMake(0, 0, 375, 812));
  auto image = icon();
  auto style = ToastHelper::getTessraStyle();
  platform::ViewRenderer renderer;
  for (auto _ : state) {
    auto toast = TessraToast::ts_toastViewForMessage(*host, "Are we still on for lunch today at the usual place?",
                                                     "Messages - Alice Appleseed and Bob Builder", image, style);
    benchmark::DoNotOptimize(renderer.renderView(*toast, 3));
  }
}
BENCHMARK(BM_LayOutAndDrawProductToastAt3x)->Unit(benchmark::kMicrosecond);

// The two halves apart: building the toast (labels measured), and drawing a built one.
void BM_LayOutProductToast(benchmark::State& state) {
  auto host = std::make_shared<platform::UIView>(platform::CGRectMake(0, 0, 375, 812));
  auto image = icon();
  auto style = ToastHelper::getTessraStyle();
  for (auto _ : state)
    benchmark::DoNotOptimize(
        TessraToast::ts_toastViewForMessage(*host, "Are we still on for lunch today at the usual place?",
                                            "Messages - Alice Appleseed and Bob Builder", image, style));
}
BENCHMARK(BM_LayOutProductToast)->Unit(benchmark::kMicrosecond);

}  // namespace
