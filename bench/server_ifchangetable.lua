-- wrk script for bench/server_load: the client's poll, ifchangetable(userdj), as the client
-- sends it, rotating over the three user levels.
local requests = {}

function init(args)
  for level = 0, 2 do
    local body = '<?xml version="1.0" encoding="utf-8"?>\n'
      .. '<soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/" '
      .. 'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
      .. 'xmlns:xsd="http://www.w3.org/2001/XMLSchema">\n'
      .. '  <soap:Body><ifchangetable xmlns="http://tempuri.org/"><userdj>' .. level
      .. '</userdj></ifchangetable></soap:Body>\n</soap:Envelope>'
    requests[level + 1] = wrk.format("POST", nil, {
      ["Content-Type"] = 'text/xml; charset="utf-8"',
      ["SOAPAction"] = '"http://tempuri.org/ifchangetable"',
    }, body)
  end
end

local next_request = 0

function request()
  next_request = next_request % 3 + 1
  return requests[next_request]
end

function done(summary, latency, requests)
  io.write(string.format("answers other than 200: %d\n", summary.errors.status))
end
