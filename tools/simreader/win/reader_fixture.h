// Makes the simulated Tarnel reader present in the Wine prefix, or absent again: its COM link to
// the simulator's pseudo-terminal, the SERIALCOMM value, and its USB device with "PortName".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simreader {

// The reader's USB identity as the tests install it.
inline constexpr char kReaderHardwareId[] = "USB\\VID_2E3C&PID_5750&REV_0200";

// Sends one line to the simulator's control port (KEYLOOM_SIMREADER_PORT), after the cookie it
// takes from its clients first (KEYLOOM_SIMREADER_COOKIE), and returns its answer line; empty when
// the simulator cannot be reached or sends the client away.
std::string Control(const std::string& line);
// The same with another cookie presented, as a stranger to the simulator would.
std::string ControlPresenting(const std::string& cookie, const std::string& line);
// Control() that must answer "ok..."; false otherwise.
bool ControlOk(const std::string& line);

// Replaces every value under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM with one per port name.
bool SetSerialPorts(const std::vector<std::string>& portNames);
// Adds or removes the reader's USB device (hardware id and "PortName"); instance names one device.
bool AddUsbDevice(const std::string& instance, const std::string& hardwareId, const std::string& portName);
// A USB device with no hardware key ("Device Parameters"), so SetupAPI cannot open that key.
bool AddUsbDeviceWithoutHardwareKey(const std::string& instance, const std::string& hardwareId);
void RemoveUsbDevices();

// The COM port becomes the simulator's line; the link is removed again by Unlink.
bool LinkPort(const std::string& portName);
void UnlinkPort();

// Plugging in: the link, the port among the others, the USB device with its "PortName".
bool PlugReader(const std::string& portName, const std::vector<std::string>& otherPorts = {});
// Unplugging: all of it removed again, the other ports kept.
void UnplugReader(const std::vector<std::string>& otherPorts = {});
// Pulling the reader out as a USB adapter goes: it leaves the port map as UnplugReader does, then
// its line closes, so a handle the program holds fails on its next read or write.
bool PullReader(const std::vector<std::string>& otherPorts = {});
// Everything of ours removed and the simulator back to its defaults.
void Clean();

// What Windows sends on a device-node change and Wine does not: WM_DEVICECHANGE, DBT_DEVNODES_CHANGED.
void DeliverDeviceChange(HWND mainWindow);

}  // namespace simreader
