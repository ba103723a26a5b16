file(REMOVE_RECURSE
  "libprvdrinfo.a"
)
