#pragma once
// The program's global objects: the factory first (the framework asks it
// from the application's start on), then the application object.
class CAppCentral;
class CRVApp;

CAppCentral& TheCentral();
CRVApp& TheApp();
