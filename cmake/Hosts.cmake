# The back-end hosts the installer talks to: build inputs, with defaults under the reserved
# .example domain. The presets of the development builds point them at the local development back
# end on loopback (tools/backend); a release build sets the maker's hosts. The paths and ports that
# the installer adds to them are fixed in the code: the non-production events hosts are always
# reached on port 8443, so they take a bare host name; the production events host, the update host
# and the download host may carry a port.
set(QM_EVENTS_HOST_DEV "events.dev.quillmere.example" CACHE STRING
    "Events host of the DEV environment (port 8443 is added)")
set(QM_EVENTS_HOST_INTEGRATION "events.integration.quillmere.example" CACHE STRING
    "Events host of the INTEGRATION environment (port 8443 is added)")
set(QM_EVENTS_HOST_SANDBOX "events.sandbox.quillmere.example" CACHE STRING
    "Events host of the SANDBOX environment (port 8443 is added)")
set(QM_EVENTS_HOST_PRODUCTION "events.quillmere.example" CACHE STRING
    "Events host of the PRODUCTION environment, optionally with :port")
set(QM_UPDATE_HOST_INTEGRATION "updates.integration.quillmere.example" CACHE STRING
    "Update host of the internal channels TEAM to DAILYBUILD, optionally with :port")
set(QM_DOWNLOAD_HOST "download.quillmere.example" CACHE STRING
    "Public download host of the channels QA1 to FINAL, optionally with :port")
set(QM_SUPPORT_URL "https://support.quillmere.example/installer" CACHE STRING
    "The support page linked from the validation error")
