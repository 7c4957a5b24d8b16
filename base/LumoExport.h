#pragma once

// Export macros, one per shipped library. Everything is built with hidden
// visibility; only functions marked with their library's macro are exported,
// so each deliverable keeps its own copy of the base globals (class registry,
// random generator, current sector map).
#define LUMO_VISIBLE __attribute__((visibility("default")))

#define LUMOGAME_API LUMO_VISIBLE        // functions of libLumoGame.so
#define COGITO_API LUMO_VISIBLE          // functions of libCogito.so
#define LUMOCONNECTION_API LUMO_VISIBLE  // functions of libLumoConnection.so
#define TRIAL1_API LUMO_VISIBLE          // entry points of the material plug-in
