// A full 390 x 844 point screen at 2x: a picture behind a full-screen blur,
// 40 views over it with text and shadows, as the customization panel draws.
// Goal: under 8.3 ms median per frame (one frame at 120 Hz).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"

namespace {

using namespace platform;

class GradientView : public UIView {
 public:
  explicit GradientView(const CGRect& frame) : UIView(frame, std::make_shared<CAGradientLayer>()) {}
  CAGradientLayer& gradient() { return static_cast<CAGradientLayer&>(layer()); }
};

// A 30-point white disc as a template icon, at 2x.
std::shared_ptr<UIImage> discIcon() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 60, 60);
  cairo_t* cr = cairo_create(surface);
  cairo_arc(cr, 30, 30, 24, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  auto image = UIImage::imageWithSurface(surface, 2)->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
  cairo_surface_destroy(surface);
  return image;
}

struct Scene {
  std::shared_ptr<UIWindow> window;
  std::shared_ptr<UIView> mover;  // a view behind the blur that a frame may move
  std::shared_ptr<UIVisualEffectView> blur;
  int views = 0;
};

std::shared_ptr<UIView> add(Scene& scene, UIView& parent, std::shared_ptr<UIView> view) {
  parent.addSubview(view);
  ++scene.views;
  return view;
}

Scene buildScene(bool withBlur) {
  Scene scene;
  const CGRect screen = CGRectMake(0, 0, 390, 844);
  scene.window = std::make_shared<UIWindow>(screen);
  scene.window->setHidden(false);
  UIView& root = *scene.window;

  // The picture behind: a diagonal gradient, a few bright shapes and icon tiles.
  auto picture = std::make_shared<GradientView>(screen);
  picture->gradient().setColors({UIColor(0.1, 0.3, 0.9, 1), UIColor(0.9, 0.3, 0.5, 1), UIColor(1, 0.8, 0.2, 1)});
  picture->gradient().setStartPoint({0, 0});
  picture->gradient().setEndPoint({1, 1});
  add(scene, root, picture);
  for (int i = 0; i < 6; ++i) {
    auto tile = std::make_shared<UIView>(CGRectMake(30 + (i % 3) * 120, 120 + (i / 3) * 140, 90, 90));
    tile->setBackgroundColor(UIColor(0.2 * i, 1 - 0.15 * i, 0.5, 1));
    tile->layer().setCornerRadius(20);
    add(scene, root, tile);
  }
  scene.mover = add(scene, root, std::make_shared<UIView>(CGRectMake(150, 600, 80, 80)));
  scene.mover->setBackgroundColor(UIColor::whiteColor());
  scene.mover->layer().setCornerRadius(40);

  if (withBlur) {
    scene.blur = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
    scene.blur->setFrame(screen);
    add(scene, root, scene.blur);
  }

  // The panel: a ring of 18 round buttons with icons, a slider disc, labels, a shadowed selector.
  auto icon = discIcon();
  const double cx = 195, cy = 422, radius = 150;
  for (int i = 0; i < 18; ++i) {
    const double angle = 2 * M_PI * i / 18 - M_PI / 2;
    auto button = std::make_shared<UIView>(CGRectMake(0, 0, 33, 33));
    button->setCenter({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
    button->setBackgroundColor(i % 3 == 0 ? UIColor::whiteColor() : UIColor(0, 0, 0, 0.5));
    button->layer().setCornerRadius(16.5);
    add(scene, root, button);
    if (i % 2 == 0) {
      auto iconView = std::make_shared<UIImageView>(CGRectMake(8, 8, 17, 17));
      iconView->setImage(icon);
      iconView->setTintColor(i % 3 == 0 ? UIColor::blackColor() : UIColor::whiteColor());
      add(scene, *button, iconView);
    }
  }
  auto disc = add(scene, root, std::make_shared<UIView>(CGRectMake(0, 0, 195, 195)));
  disc->setCenter({cx, cy});
  disc->setBackgroundColor(UIColor(0, 0, 0, 0.25));
  disc->layer().setCornerRadius(97.5);
  for (int i = 0; i < 2; ++i) {
    auto slider = add(scene, *disc, std::make_shared<UIView>(CGRectMake(0, 0, 39, 122)));
    slider->setCenter({97.5 + (i ? 30 : -30), 97.5});
    slider->setBackgroundColor(UIColor(0, 0, 0, 0.5));
    slider->layer().setCornerRadius(19.5);
    slider->setClipsToBounds(true);
    auto fill = add(scene, *slider, std::make_shared<UIView>(CGRectMake(0, 60, 39, 62)));
    fill->setBackgroundColor(UIColor::whiteColor());
    auto percent = std::make_shared<UILabel>(CGRectMake(0, 51, 39, 20));
    percent->setText(i ? "70%" : "40%");
    percent->setFont(UIFont::systemFontOfSize(10));
    percent->setTextAlignment(NSTextAlignment::Center);
    add(scene, *slider, percent);
  }
  auto name = std::make_shared<UILabel>(CGRectMake(80, 110, 230, 50));
  name->setText("Maps");
  name->setTextColor(UIColor::whiteColor());
  name->setFont(UIFont::systemFontOfSize(40, UIFontWeight::Medium));
  name->setTextAlignment(NSTextAlignment::Center);
  name->setAdjustsFontSizeToFitWidth(true);
  name->setMinimumScaleFactor(0.5);
  add(scene, root, name);
  auto bottom = std::make_shared<UILabel>(CGRectMake(80, 640, 230, 40));
  bottom->setText("Enable Wi-Fi when opening Maps");
  bottom->setTextColor(UIColor::whiteColor());
  bottom->setFont(UIFont::systemFontOfSize(15, UIFontWeight::Light));
  bottom->setNumberOfLines(2);
  bottom->setTextAlignment(NSTextAlignment::Center);
  add(scene, root, bottom);
  auto control = add(scene, root, std::make_shared<UIView>(CGRectMake(110, 774, 170, 30)));
  control->setBackgroundColor(UIColor(0, 0, 0, 0.25));
  control->layer().setCornerRadius(15);
  auto selector = add(scene, *control, std::make_shared<UIView>(CGRectMake(0, 0, 85, 30)));
  selector->setBackgroundColor(UIColor::whiteColor());
  selector->layer().setCornerRadius(15);
  selector->layer().setShadowOpacity(0.7);
  selector->layer().setShadowRadius(7);
  selector->layer().setShadowOffset({0, 5});
  selector->layer().setShadowPath(UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 85, 30), 15));
  for (int i = 0; i < 2; ++i) {
    auto title = std::make_shared<UILabel>(CGRectMake(85 * i, 0, 85, 30));
    title->setText(i ? "Behaviors" : "Toggles");
    title->setFont(UIFont::systemFontOfSize(13));
    title->setTextAlignment(NSTextAlignment::Center);
    add(scene, *control, title);
  }
  scene.window->layoutIfNeeded();
  return scene;
}

void renderFrames(benchmark::State& state, bool withBlur, bool moveBehindBlur) {
  ManualTaskEnvironment env;
  Scene scene = buildScene(withBlur);
  ViewRenderer renderer;
  renderer.renderWindows({scene.window.get()}, {390, 844}, 2);  // warm caches and fonts
  int frame = 0;
  for (auto _ : state) {
    if (moveBehindBlur) scene.mover->setCenter({150.0 + (++frame % 40), 640});
    auto image = renderer.renderWindows({scene.window.get()}, {390, 844}, 2);
    benchmark::DoNotOptimize(image);
  }
  state.counters["views"] = scene.views;
  state.counters["blurs_computed"] = renderer.stats().blursComputed;
  state.counters["blurs_reused"] = renderer.stats().blursReused;
}

// The panel over an app that does not change: the blur is reused.
void BM_RenderScreenBlurredStatic(benchmark::State& state) { renderFrames(state, true, false); }
// Something behind the blur moves every frame: the blur is redone every frame.
void BM_RenderScreenBlurredChanging(benchmark::State& state) { renderFrames(state, true, true); }
// The same views without a blur.
void BM_RenderScreenNoBlur(benchmark::State& state) { renderFrames(state, false, false); }

BENCHMARK(BM_RenderScreenBlurredStatic)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderScreenBlurredChanging)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderScreenNoBlur)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
