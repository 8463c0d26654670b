#pragma once

// Registers the configuration component's classes so that a form description can name them.
// A second call is harmless.
void RegisterConfigClasses();
