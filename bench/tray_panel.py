#!/usr/bin/python3
"""A stand-in panel for measurements: a StatusNotifierWatcher and a host that re-reads all
of an item's properties whenever it signals a change, as desktop panels do. Prints
"item <bus name> <path>" for every item that registers. Uses Debian's python3-dbus."""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()


class Watcher(dbus.service.Object):
    def __init__(self):
        self.name = dbus.service.BusName(WATCHER, bus)
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        path = service if service.startswith("/") else "/StatusNotifierItem"
        name = sender if service.startswith("/") else service
        self.items.append(name + path)
        print("item", name, path, flush=True)
        props = dbus.Interface(bus.get_object(name, path), "org.freedesktop.DBus.Properties")

        def reread(*_args):
            props.GetAll(ITEM, reply_handler=lambda _p: None, error_handler=lambda _e: None)

        # The label signal carries its text, so hosts need not re-read for it.
        for signal in ("NewTitle", "NewIcon", "NewToolTip", "NewStatus"):
            bus.add_signal_receiver(reread, signal_name=signal, dbus_interface=None,
                                    bus_name=name, path=path)
        reread()

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, _service):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, _interface, prop):
        return self.GetAll(WATCHER)[prop]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, _interface):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0)}


watcher = Watcher()
print("watcher", bus.get_unique_name(), flush=True)
GLib.MainLoop().run()
