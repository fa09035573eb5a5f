#include "app/mdlModes.h"

namespace quillon {

ProductInfoRecord ProductInfo;

void InitProductInfo(runtime::Application& app) {
  ProductInfo.ProductName = L"Quillon";
  ProductInfo.Version = L"1.0";
  app.SetTitle(ProductInfo.ProductName + L" " + ProductInfo.Version);
  ProductInfo.TitleColor = L"12098443";
}

}  // namespace quillon
