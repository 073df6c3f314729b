#pragma once
// Windows Sockets 2 loaded at run time. Every socket function this layer
// calls goes through a slot that holds its address; a slot is filled from
// WS2_32.DLL on the first call of its function, so the program links
// nothing of the library and starts without it.

#include <cstdint>

#include "core/ansistring.h"

// The functions that the socket stack calls, one slot each.
enum TSocketSlot {
  slotWSACleanup,
  slotWSAGetLastError,
  slotAccept,
  slotBind,
  slotCloseSocket,
  slotConnect,
  slotGetPeerName,
  slotGetSockName,
  slotGetSockOpt,
  slotHtonl,
  slotHtons,
  slotListen,
  slotNtohl,
  slotNtohs,
  slotRecv,
  slotSelect,
  slotSend,
  slotSetSockOpt,
  slotShutdown,
  slotSocket,
  slotGetHostByName,
  socketSlotCount
};

// Loads the library and calls WSAStartup with the version and the record,
// returning its result; 0 without calling anything when the library is
// loaded already. Raises ENetWS2StubError when the library cannot be loaded.
int LoadSocketLibrary(uint16_t version, void* wsaData);
// The address of a slot's function, looked up on first use. Raises
// ENetWS2StubError while the library is not loaded or when it lacks the
// function.
void* ResolveSocketFunction(TSocketSlot slot);
// Frees the library once and empties every slot.
void UnloadSocketLibrary();
bool SocketLibraryLoaded();

// The address of a slot's function as the function's own type.
template <typename Function>
Function* SocketFunction(TSocketSlot slot) {
  return reinterpret_cast<Function*>(ResolveSocketFunction(slot));
}
