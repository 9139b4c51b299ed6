#!/usr/bin/python3
"""An AT-SPI client that listens to the events a screen reader listens to, and on each selection or
focus event reads what a screen reader reads: the source's name, role and state, and the number
of selected rows of a list. Runs until it is stopped."""
import pyatspi

EVENTS = ["object:state-changed", "object:children-changed", "object:selection-changed",
          "object:active-descendant-changed", "object:row-inserted", "object:row-deleted",
          "object:model-changed", "focus:", "window:activate"]


def read(event):
    try:
        source = event.source
        source.name, source.getRole(), source.getState()
        for candidate in (source, source.parent):
            if candidate is not None and candidate.getRole() == pyatspi.ROLE_LIST:
                candidate.queryTable().nSelectedRows
    except Exception:  # the object may be gone by now; a screen reader shrugs too
        pass


for name in EVENTS:
    pyatspi.Registry.registerEventListener(read, name)
pyatspi.Registry.start()
