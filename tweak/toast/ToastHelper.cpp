#include "tweak/toast/ToastHelper.h"

#include "platform/foundation/Dispatch.h"
#include "platform/ui/UIViewController.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/KelvaneTweakUtils.h"
#include "tweak/toast/TSToastManager.h"
#include "tweak/toast/TessraToast.h"

void ToastHelper::showToastWithTitle(std::optional<std::string> title, std::optional<std::string> message,
                                     double duration, std::shared_ptr<platform::UIImage> image,
                                     std::shared_ptr<platform::UIViewController> controller) {
  platform::dispatch_async(platform::dispatch_get_main_queue(),
                           [title = std::move(title), message = std::move(message), duration, image = std::move(image),
                            controller = std::move(controller)] {
                             platform::UIView* view = controller ? controller->view() : nullptr;
                             if (!view) return;
                             if (!image && (!title || !message)) {
                               TessraToast::ts_makeToast(*view, title ? title : message, duration,
                                                         TSToastManager::defaultPosition(), getTessraStyle());
                               return;
                             }
                             TessraToast::ts_makeToast(*view, message, duration, TSToastManager::defaultPosition(),
                                                       title, image, getTessraStyle(), nullptr);
                           });
}

std::shared_ptr<TSToastStyle> ToastHelper::getTessraStyle() {
  TSToastManager::ts_setQueueEnabled(true);
  std::shared_ptr<TSToastStyle> style = TSToastStyle::createWithDefaultStyle();
  style->backgroundColor = platform::UIColor::colorWithRed(0.11, 0.11, 0.118, 0.85);
  style->titleFont = platform::UIFont::boldSystemFontOfSize(17);
  style->titleAlignment = platform::NSTextAlignment::Center;
  style->messageAlignment = platform::NSTextAlignment::Center;
  style->titleNumberOfLines = 2;
  style->messageNumberOfLines = 2;
  style->imageSize = {25.0, 25.0};
  return style;
}

void ToastHelper::showToast(std::string message, std::shared_ptr<platform::UIViewController> controller) {
  platform::dispatch_async(platform::dispatch_get_main_queue(),
                           [message = std::move(message), controller = std::move(controller)] {
                             TSToastManager::ts_setQueueEnabled(true);
                             TSToastManager::setDefaultDuration(kShortToastDuration);
                             platform::UIView* view = controller ? controller->view() : nullptr;
                             if (view) TessraToast::ts_makeToast(*view, message);
                           });
}

void ToastHelper::showToast(std::string message) {
  if (!TessraStorageManager::sharedInstance().debugInformationEnabled) return;
  showToast(std::move(message), KelvaneTweakUtils::topMostController());
}
