#include "app/updater_client.h"

void SetUpUpdaterClient(TNetHTTP& http) {
  http.HandleRedirects = true;
  http.AllowCookies = true;
  http.MaxLineAction = maException;
  http.HTTPOptions = hoForceEncodeParams;
  http.ProxyParams.BasicAuthentication = true;
  http.ProxyParams.ProxyPort = 0;
  http.Request().Accept = "text/html, */*";
  http.Request().UserAgent = "Mozilla/3.0";
  http.Request().BasicAuthentication = false;
  http.Request().ContentLength = 0;
  http.Request().ContentRangeStart = 0;
  http.Request().ContentRangeEnd = 0;
}
