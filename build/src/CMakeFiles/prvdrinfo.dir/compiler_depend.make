# Empty compiler generated dependencies file for prvdrinfo.
# This may be replaced when dependencies are built.
