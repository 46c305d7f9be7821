#pragma once
// Makes the "Button: " pictures of a show: reads the named skin once, cuts its parts
// from the skin's pictures and lays them out at the asked size.
namespace kiv {

class TKivSlideHost;

// Adds the provider to the file source of host's accessor (nothing without one). The
// provider keeps what it reads with the source and refers to neither host nor accessor,
// which may go before the source does.
void InstallButtonPictureProvider(TKivSlideHost& host);

}  // namespace kiv
